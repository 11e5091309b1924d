#include "QtTransferHttp.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHttpMultiPart>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>

namespace korvex {

QNetworkProxy ProxyFromSettings(const Settings& s) {
    if (s.ProxyServer.isEmpty())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return QNetworkProxy(QNetworkProxy::HttpProxy, s.ProxyServer, quint16(s.ProxyPort),
                         s.ProxyUsername, s.ProxyPassword);
}

QByteArray ProxyAuthorization(const Settings& s) {
    if (s.ProxyServer.isEmpty() || s.ProxyUsername.isEmpty())
        return {};
    return "Basic " + (s.ProxyUsername + u':' + s.ProxyPassword).toUtf8().toBase64();
}

QtTransferHttp::QtTransferHttp(const Settings& settings) : m_settings(settings) {
    m_manager.setCookieJar(new QNetworkCookieJar(&m_manager));
}

QtTransferHttp::~QtTransferHttp() {
    abort();
}

QNetworkRequest QtTransferHttp::request(const QString& url, const QByteArray& contentType) {
    m_manager.setProxy(ProxyFromSettings(m_settings));
    QNetworkRequest r{QUrl(url)};
    r.setRawHeader("Accept", "text/html, */*");
    if (!contentType.isEmpty())
        r.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    const QByteArray proxyAuth = ProxyAuthorization(m_settings);
    if (!proxyAuth.isEmpty())
        r.setRawHeader("Proxy-Authorization", proxyAuth);
    r.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    return r;
}

QtTransferHttp::Reply QtTransferHttp::wait(QNetworkReply* reply, bool reportWork) {
    m_running = reply;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    bool begun = false;
    if (reportWork && m_observer) {
        QObject::connect(reply, &QNetworkReply::uploadProgress, &loop,
                         [this, &begun](qint64 sent, qint64 total) {
                             if (!begun && total > 0) {
                                 begun = true;
                                 m_observer->workBegin(total);
                             }
                             if (begun)
                                 m_observer->work(sent);
                         });
    }
    if (!reply->isFinished())
        loop.exec();
    if (begun)
        m_observer->workEnd();

    Reply result;
    result.ok = reply->error() == QNetworkReply::NoError;
    result.body = reply->readAll();
    if (!result.ok)
        result.error = reply->errorString();
    m_running = nullptr;
    reply->deleteLater();
    return result;
}

TransferHttp::Reply QtTransferHttp::postForm(const QString& url, const QList<FormField>& fields) {
    QNetworkReply* reply =
        m_manager.post(request(url, "application/x-www-form-urlencoded"), FormBody(fields));
    return wait(reply, true);
}

TransferHttp::Reply QtTransferHttp::postMultipart(const QString& url,
                                                  const QList<FormField>& fields,
                                                  const FilePart& file) {
    auto body = std::make_unique<QFile>(file.path);
    if (!body->open(QIODevice::ReadOnly))
        throw TransferFileError(QStringLiteral("Cannot open file \"%1\". %2")
                                    .arg(file.path, body->errorString())
                                    .toStdString());

    auto multipart = std::make_unique<QHttpMultiPart>(QHttpMultiPart::FormDataType);
    for (const FormField& f : fields) {
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"%1\"").arg(f.name));
        part.setBody(f.value.toUtf8());
        multipart->append(part);
    }
    QHttpPart data;
    data.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QStringLiteral("form-data; name=\"%1\"; filename=\"%2\"")
                       .arg(file.name, QFileInfo(file.path).fileName()));
    data.setHeader(QNetworkRequest::ContentTypeHeader, file.contentType);
    // The body streams from the file while it is sent; it is never held in memory whole.
    data.setBodyDevice(body.get());
    body.release()->setParent(multipart.get());
    multipart->append(data);

    QNetworkRequest r = request(url, {});
    QNetworkReply* reply = m_manager.post(r, multipart.get());
    multipart.release()->setParent(reply);
    return wait(reply, true);
}

void QtTransferHttp::abort() {
    if (m_running)
        m_running->abort();
}

} // namespace korvex
