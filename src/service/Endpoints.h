#pragma once

#include "app/Settings.h"

#include <QString>
#include <QUrl>
#include <functional>

namespace korvex {

// Sent with every transfer request; the service picks its reply format by it.
inline constexpr char ProtocolVersion[] = "2.0";

// The wizard's purpose; any other value opens the upload path.
enum UploadModeValue {
    UploadModeUpload = 1,
    UploadModeShare = 2,
    UploadModeOrder = 3,
    UploadModeSignUp = 4
};

QString StartPageURL(const Settings& settings, int uploadMode);
QString ImageIDURL(const Settings& settings);
QString UploadImageURL(const QString& imageServer);
QString ImageOffsetURL(const QString& imageServer);
// The update-check address for the given product version ("?.?" when unknown).
QString UpdateCheckURL(const Settings& settings, const QString& productVersion);

enum class SiteLink { SupportPage, CompanyWebsite };
// The help-centre or web-site redirect with "%APPVERS%" and "%VERS%" filled.
QString SiteURL(const Settings& settings, SiteLink link, const QString& productVersion);

// A window-opening link of a close page: relative links are placed on the site server.
QString ResolveWindowLink(const Settings& settings, const QString& link);
// The completion and progress addresses of the result document: a link without "http" gets the
// site server in front and no scheme, which the browser then loads over HTTP.
QString ResolveResultLink(const Settings& settings, const QString& link);

// The locale part of the user-agent text for a locale name such as "en_US"; the POSIX "C" locale
// (LANG unset) reads as "en_US", anything not language_COUNTRY of two letters each as "?".
QString LocaleText(const QString& localeName);
// The system part of the user-agent text, from the running kernel and distribution.
QString SystemText();
// The user-agent text sent as a form field with every upload, evaluated afresh on each call.
QString GetUserAgent(const Settings& settings);

// Captions of the help and site menus, filled when they open.
struct SiteMenuCaptions {
    QString about;
    QString supportPage;
    QString companyWebsite;
};
SiteMenuCaptions SiteMenuTexts(const ProductNames& names);

// The two site menu commands: composes the address, logs it and hands it to the launcher (the
// desktop's "open"). Returns the launcher's result.
bool mkwebsiteClick(const Settings& settings, SiteLink link, const QString& productVersion,
                    const std::function<bool(const QUrl&)>& launch);

} // namespace korvex
