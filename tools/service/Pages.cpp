#include "Pages.h"

#include <sstream>

namespace korvex::service {

namespace {

const char* head = "<html>\n<head>\n<title>Corvanta</title>\n</head>\n<body>\n";
const char* tail = "</body>\n</html>\n";

std::vector<int> versionParts(const std::string& v) {
    std::vector<int> parts;
    std::stringstream in(v);
    std::string item;
    while (std::getline(in, item, '.'))
        parts.push_back(std::atoi(item.c_str()));
    return parts;
}

} // namespace

std::string xmlEscape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<':
            // The client turns every "&lt;" of a result page into "<" before reading it as XML,
            // so a literal "<" in a value must travel as a character reference.
            out += "&#60;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string indexPage() {
    return std::string(head) + "<h1>Corvanta reference service</h1>\n" + tail;
}

std::string helpPage() {
    return std::string(head) + "<h1>Corvanta help center</h1>\n<p>Help for the client.</p>\n" +
           tail;
}

std::string questionPage(int session, const std::string& mode, size_t pictures) {
    const std::string next = "/client/finalize.jsp?session=" + std::to_string(session);
    std::ostringstream p;
    p << head << "<!-- CLIENT EMBED CODE START -->\n"
      << "<EMBED name=\"VORU_TITLE\" label=\"Choose your pictures\" Enable=\"true\">\n"
      << "<EMBED name=\"VORU_SUBTITLE\" label=\"Step 1 of 2: name your album\">\n"
      << "<EMBED name=\"VORU_BACK_BUTTON\" label=\"Back\" Enable=\"false\" "
         "tiptext=\"Previous step\">\n"
      << "<EMBED name=\"VORU_NEXT_BUTTON\" label=\"Next\" href=\"" << next
      << "\" tiptext=\"Go to the next step\" disableOnClick=\"true\">\n"
      << "<EMBED name=\"VORU_HELP_BUTTON\" label=\"Help\" tiptext=\"Help with this step\">\n"
      << "<EMBED name=\"VORU_CANCEL_BUTTON\" label=\"Cancel\" tiptext=\"Stop the upload\">\n"
      << "<!-- CLIENT EMBED CODE END -->\n"
      << "<EMBED name=\"VORU_FINISH_BUTTON\" label=\"Finish\" tiptext=\"Only after the end\">\n"
      << "<h1>Your " << xmlEscape(mode) << "</h1>\n"
      << "<p>You are sending " << pictures << " pictures.</p>\n"
      << "<a id=\"VORU_BACK_BUTTON_ANCHOR\" name=\"VORU_BACK_BUTTON_ANCHOR\" "
         "href=\"javascript:history.back()\">Back</a>\n"
      << "<a id=\"VORU_NEXT_BUTTON_ANCHOR\" name=\"VORU_NEXT_BUTTON_ANCHOR\" href=\"" << next
      << "\">Next</a>\n"
      << "<a id=\"VORU_HELP_BUTTON_ANCHOR\" name=\"VORU_HELP_BUTTON_ANCHOR\" "
         "href=\"/client/help.html\" target=\"_blank\">Help</a>\n"
      << tail;
    return p.str();
}

std::string finalizationPage(int session, const std::string& mode,
                             const std::vector<PagePicture>& pictures) {
    const std::string order = std::to_string(session);
    std::ostringstream p;
    // The marker sits in the head so that it is among the first lines of the page.
    p << "<html>\n<head>\n<meta name=\"voru-page\" content=\"VORU_INIT_UPLOAD\">\n"
      << "<title>Corvanta</title>\n</head>\n<body>\n"
      << "<p>Your pictures are ready to send.</p>\n"
      << "<script type=\"text/xml\" id=\"result\">\n"
      << "<minibrowser-result>\n"
      << "<ticket>TK-" << order << "</ticket>\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        const PagePicture& pic = pictures[i];
        // Every second image tag is written with the entity, as some page templates do.
        p << (i % 2 ? "&lt;" : "<") << "image id=\"" << xmlEscape(pic.id) << "\">\n"
          << "<title>" << xmlEscape(pic.title) << "</title>\n"
          << "<subject>" << xmlEscape(pic.subject) << "</subject>\n"
          << "<album id=\"A" << order << "\" name=\"My pictures\"/>\n";
        if (mode == "orderupload")
            p << "<attribute name=\"size\" value=\"4x6\"/>\n"
              << "<attribute name=\"copies\" value=\"1\"/>\n";
        p << "</image>\n";
    }
    p << "<on-termination href=\"/client/complete.jsp\"/>\n"
      << "<attribute name=\"order\" value=\"" << order << "\"/>\n"
      << "<attribute name=\"mode\" value=\"" << xmlEscape(mode) << "\"/>\n"
      << "<progress-window src=\"/client/progress.jsp\"/>\n"
      << "</minibrowser-result>\n"
      << "</script>\n"
      << tail;
    return p.str();
}

std::string progressPage() {
    return std::string(head) +
           "<EMBED name=\"VORU_TITLE\" label=\"Sending your pictures\">\n"
           "<EMBED name=\"VORU_HELP_BUTTON\" label=\"Help\" tiptext=\"Help with sending\">\n"
           "<!-- CLIENT EMBED CODE END -->\n"
           "<p>Your pictures are on their way.</p>\n"
           "<a id=\"VORU_HELP_BUTTON_ANCHOR\" name=\"VORU_HELP_BUTTON_ANCHOR\" "
           "href=\"/client/help.html\" target=\"_blank\">Help</a>\n" +
           tail;
}

std::string completionPage(int order, const std::string& total, const std::string& successful,
                           const std::string& failed) {
    const std::string close = "/client/close.jsp?order=" + std::to_string(order);
    std::ostringstream p;
    p << head << "<EMBED name=\"VORU_TITLE\" label=\"Thank you\">\n"
      << "<EMBED name=\"VORU_FINISH_BUTTON\" label=\"Finish\" href=\"" << close
      << "\" tiptext=\"Close the wizard\">\n"
      << "<!-- CLIENT EMBED CODE END -->\n"
      << "<p>" << xmlEscape(successful) << " of " << xmlEscape(total) << " pictures arrived; "
      << xmlEscape(failed) << " failed.</p>\n"
      << "<a id=\"VORU_FINISH_BUTTON_ANCHOR\" name=\"VORU_FINISH_BUTTON_ANCHOR\" href=\"" << close
      << "\">Finish</a>\n"
      << tail;
    return p.str();
}

std::string closePage(int order) {
    return std::string(head) + "<close-request/><!-- this order's VORU_INIT_UPLOAD is done -->\n" +
           "<new-window src=\"/client/thanks.jsp?order=" + std::to_string(order) + "\"/>\n" + tail;
}

std::string thanksPage(int order) {
    return std::string(head) + "<h1>Order " + std::to_string(order) + " received</h1>\n" + tail;
}

std::string updateCheckDocument(const std::string& clientVersion, const std::string& latest,
                                const std::string& host) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\"?>\n<updatecheck-result>\n";
    if (!latest.empty() && versionParts(clientVersion) < versionParts(latest)) {
        x << "<message>\r\n\tVersion " << xmlEscape(latest) << " is available.\r\n</message>\n"
          << "<download src=\"http://" << xmlEscape(host)
          << "/client/download.jsp?version=" << xmlEscape(latest) << "\"/>\n"
          << "<set-min-check-days-interval>7</set-min-check-days-interval>\n";
    } else {
        x << "<set-min-check-days-interval>14</set-min-check-days-interval>\n";
    }
    x << "</updatecheck-result>\n";
    return x.str();
}

} // namespace korvex::service
