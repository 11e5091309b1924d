#pragma once

#include <string>
#include <vector>

namespace korvex::service {

struct PagePicture {
    std::string id;
    std::string title;
    std::string subject;
};

std::string indexPage();
std::string helpPage();
std::string questionPage(int session, const std::string& mode, size_t pictures);
std::string finalizationPage(int session, const std::string& mode,
                             const std::vector<PagePicture>& pictures);
std::string progressPage();
std::string completionPage(int order, const std::string& total, const std::string& successful,
                           const std::string& failed);
std::string closePage(int order);
std::string thanksPage(int order);
// The update check's answer for a client of the given version.
std::string updateCheckDocument(const std::string& clientVersion, const std::string& latest,
                                const std::string& host);

// Escapes text for element content and attribute values.
std::string xmlEscape(const std::string& text);

} // namespace korvex::service
