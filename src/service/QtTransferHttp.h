#pragma once

#include "TransferHttp.h"
#include "app/Settings.h"

#include <QNetworkAccessManager>
#include <QPointer>

class QNetworkReply;
class QNetworkRequest;

namespace korvex {

// The transfer requests over Qt Network: one cookie jar per instance (one per wizard), the proxy
// of the settings applied before every request, a local event loop while a request runs.
class QtTransferHttp : public TransferHttp {
public:
    // settings stays referenced: the proxy is read afresh before each request.
    explicit QtTransferHttp(const Settings& settings);
    ~QtTransferHttp() override;

    Reply postForm(const QString& url, const QList<FormField>& fields) override;
    Reply postMultipart(const QString& url, const QList<FormField>& fields,
                        const FilePart& file) override;
    void abort() override;
    void setObserver(TransferObserver* observer) override { m_observer = observer; }

private:
    QNetworkRequest request(const QString& url, const QByteArray& contentType);
    Reply wait(QNetworkReply* reply, bool reportWork);

    const Settings& m_settings;
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_running;
    TransferObserver* m_observer = nullptr;
};

// The proxy the settings name (none when ProxyServer is empty).
QNetworkProxy ProxyFromSettings(const Settings& settings);
// "Basic ..." for the settings' proxy user, empty without one; sent with every request so that
// an authenticating proxy never answers 407 and the client never sends a body twice.
QByteArray ProxyAuthorization(const Settings& settings);

} // namespace korvex
