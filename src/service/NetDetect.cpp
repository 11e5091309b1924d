#include "NetDetect.h"

#include "support/DebugLog.h"

#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace korvex {

bool HasNetworkAddress() {
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress& a : addresses) {
        if (!a.isLoopback() && !a.isNull() && !a.isLinkLocal())
            return true;
    }
    return false;
}

bool IsConnected() {
    // The desktop's own network state stands where a dial-up connection flag used to be.
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        if (QNetworkInformation::instance()->reachability() ==
            QNetworkInformation::Reachability::Online)
            return true;
    }
    return HasNetworkAddress();
}

std::optional<DetectedProxy> ParseProxyText(const QString& text) {
    QString rest = text.trimmed();
    const qsizetype scheme = rest.indexOf(QStringLiteral("://"));
    if (scheme >= 0)
        rest = rest.mid(scheme + 3);
    rest = rest.left(rest.indexOf(u'/'));
    DetectedProxy proxy;
    const qsizetype at = rest.lastIndexOf(u'@');
    if (at >= 0) {
        const QString user = rest.left(at);
        const qsizetype colon = user.indexOf(u':');
        proxy.username = QUrl::fromPercentEncoding(user.left(colon).toUtf8());
        if (colon >= 0)
            proxy.password = QUrl::fromPercentEncoding(user.mid(colon + 1).toUtf8());
        rest = rest.mid(at + 1);
    }
    // Like the system settings always were read: host before the first colon, port 80 when the
    // rest is no number.
    const qsizetype colon = rest.indexOf(u':');
    proxy.host = rest.left(colon);
    bool ok = false;
    const int port = colon < 0 ? 0 : rest.mid(colon + 1).toInt(&ok);
    proxy.port = ok && port > 0 ? port : 80;
    if (proxy.host.isEmpty())
        return std::nullopt;
    return proxy;
}

std::optional<DetectedProxy> ProxyFromEnvironment() {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"}) {
        if (auto proxy = ParseProxyText(qEnvironmentVariable(name)))
            return proxy;
    }
    return std::nullopt;
}

namespace {

QString gsettings(const QString& schema, const QString& key) {
    QProcess p;
    p.start(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
    if (!p.waitForFinished(3000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    QString value = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    if (value.size() >= 2 && value.startsWith(u'\'') && value.endsWith(u'\''))
        value = value.mid(1, value.size() - 2);
    if (value.startsWith(QStringLiteral("uint32 ")))
        value = value.mid(7);
    return value;
}

} // namespace

std::optional<DetectedProxy> ProxyFromDesktop() {
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        return std::nullopt;
    const QString base = QStringLiteral("org.gnome.system.proxy");
    if (gsettings(base, QStringLiteral("mode")) != QStringLiteral("manual"))
        return std::nullopt;
    const QString http = base + QStringLiteral(".http");
    DetectedProxy proxy;
    proxy.host = gsettings(http, QStringLiteral("host"));
    if (proxy.host.isEmpty())
        return std::nullopt;
    bool ok = false;
    proxy.port = gsettings(http, QStringLiteral("port")).toInt(&ok);
    if (!ok || proxy.port <= 0)
        proxy.port = 80;
    if (gsettings(http, QStringLiteral("use-authentication")) == QStringLiteral("true")) {
        proxy.username = gsettings(http, QStringLiteral("authentication-user"));
        proxy.password = gsettings(http, QStringLiteral("authentication-password"));
    }
    return proxy;
}

bool DetectProxySettings(Settings& settings, const ProxyConfirm& confirm,
                         const std::function<std::optional<DetectedProxy>()>& source) {
    const std::optional<DetectedProxy> proxy = source();
    if (!proxy || proxy->host.isEmpty())
        return false;
    if (proxy->host == settings.ProxyServer && proxy->port == settings.ProxyPort)
        return false;
    const QString question =
        QStringLiteral("Corvanta Express has detected your proxy settings as:\r\n\r\nProxy: %1"
                       "\r\nProxy Port: %2\r\n\r\nDo you want to use this settings for Corvanta "
                       "Express?")
            .arg(proxy->host)
            .arg(proxy->port);
    if (!confirm(question))
        return false;
    DebugLog(QStringLiteral("DetectProxySettings"),
             QStringLiteral("Proxy set to %1:%2").arg(proxy->host).arg(proxy->port));
    settings.ProxyPort = proxy->port;
    settings.ProxyServer = proxy->host;
    // The old system store held no credentials; a proxy URL that carries them saves the user
    // typing them again.
    if (!proxy->username.isEmpty()) {
        settings.ProxyUsername = proxy->username;
        settings.ProxyPassword = proxy->password;
        settings.AuthProxy = true;
    }
    return true;
}

} // namespace korvex
