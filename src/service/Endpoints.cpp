#include "Endpoints.h"

#include "support/DebugLog.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSysInfo>

namespace korvex {

namespace {
const QString http = QStringLiteral("http://");
}

QString StartPageURL(const Settings& s, int uploadMode) {
    switch (uploadMode) {
    case UploadModeShare:
        return http + s.AppServer + s.ShareAdd2URL;
    case UploadModeOrder:
        return http + s.AppServer + s.OrderAdd2URL;
    case UploadModeSignUp:
        return http + s.AppServer + s.SignUpAdd2URL;
    default:
        return http + s.AppServer + s.UploadAdd2URL;
    }
}

QString ImageIDURL(const Settings& s) {
    return http + s.UploadServer + QStringLiteral("/GetImageID");
}

QString UploadImageURL(const QString& imageServer) {
    return http + imageServer + QStringLiteral("/UploadImage");
}

QString ImageOffsetURL(const QString& imageServer) {
    return http + imageServer + QStringLiteral("/GetImageOffset");
}

QString UpdateCheckURL(const Settings& s, const QString& productVersion) {
    const QString version = productVersion.isEmpty() ? QStringLiteral("?.?") : productVersion;
    return http + s.UpdateURL + version + u'/' + s.PartnerID + u'/' + s.PartnerSubID + u'/' +
           s.CampaignID;
}

QString SiteURL(const Settings& s, SiteLink link, const QString& productVersion) {
    QString url = http + s.AppServer +
                  (link == SiteLink::SupportPage ? s.supportpageAdd2URL : s.WelcomeAdd2URL);
    url.replace(QStringLiteral("%APPVERS%"),
                productVersion.isEmpty() ? QStringLiteral("?.?") : productVersion);
    url.replace(QStringLiteral("%VERS%"), s.Version);
    return url;
}

QString ResolveWindowLink(const Settings& s, const QString& link) {
    if (link.contains(QStringLiteral("HTTP://"), Qt::CaseInsensitive))
        return link;
    return http + s.AppServer + link;
}

QString ResolveResultLink(const Settings& s, const QString& link) {
    if (link.contains(QStringLiteral("http")))
        return link;
    return s.AppServer + link;
}

QString LocaleText(const QString& localeName) {
    if (localeName == u'C' || localeName.startsWith(QStringLiteral("C.")) ||
        localeName == QStringLiteral("POSIX"))
        return QStringLiteral("en_US");
    static const QRegularExpression twoAndTwo(QStringLiteral("^[A-Za-z]{2}_[A-Za-z]{2}$"));
    return twoAndTwo.match(localeName).hasMatch() ? localeName : QStringLiteral("?");
}

QString SystemText() {
    // Same shape as the service has always parsed: platform word, system, version, build and a
    // quoted description with the backslashes kept literally.
    return QStringLiteral("%1 %2 %3 build %4 \\\"%5\\\"")
        .arg(QSysInfo::kernelType(), QSysInfo::productType(), QSysInfo::productVersion(),
             QSysInfo::kernelVersion(), QSysInfo::prettyProductName());
}

QString GetUserAgent(const Settings& s) {
    // One pass per placeholder: a value that itself holds a placeholder is inserted as it is
    // rather than expanded again.
    QString text = s.UserAgent;
    text.replace(QStringLiteral("%LOCALE%"), LocaleText(QLocale::system().name()));
    text.replace(QStringLiteral("%PARTNERID%"), s.PartnerID);
    text.replace(QStringLiteral("%PARTNERSUBID%"), s.PartnerSubID);
    text.replace(QStringLiteral("%CAMPAIGNID%"), s.CampaignID);
    text.replace(QStringLiteral("%SYSTEMINFO%"), SystemText());
    return text;
}

SiteMenuCaptions SiteMenuTexts(const ProductNames& names) {
    return {QStringLiteral("About ") + names.product,
            QStringLiteral("Go to %1 online help center").arg(names.company),
            QStringLiteral("Go to the %1 site").arg(names.company)};
}

bool mkwebsiteClick(const Settings& s, SiteLink link, const QString& productVersion,
                    const std::function<bool(const QUrl&)>& launch) {
    const QString category = QStringLiteral("mkwebsiteClick");
    DebugLog(category, QStringLiteral("start"));
    const QString url = SiteURL(s, link, productVersion);
    DebugLog(category, QStringLiteral("launching site: ") + url);
    const bool ok = launch(QUrl(url));
    DebugLog(category, QStringLiteral("end"));
    return ok;
}

} // namespace korvex
