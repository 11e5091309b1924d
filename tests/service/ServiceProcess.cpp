#include "ServiceProcess.h"

#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRandomGenerator>

namespace korvex::test {

ServiceProcess::ServiceProcess() : m_store(makeTempDir(QStringLiteral("store"))) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(
        binDir() + QStringLiteral("/korvex-service"),
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--store"), m_store});
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    const QByteArray line = m_process.readLine().trimmed();
    m_port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
}

ServiceProcess::~ServiceProcess() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

QByteArray fetch(const QString& url, const QByteArray& body) {
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    QNetworkReply* reply = body.isNull() ? manager.get(request) : manager.post(request, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->deleteLater();
    return reply->readAll();
}

QByteArray ServiceProcess::control(const QString& query) {
    return fetch(QStringLiteral("http://%1/_control?%2").arg(hostPort(), query));
}

int ServiceProcess::counter(const QString& name) {
    const QList<QByteArray> lines = control(QString()).split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(name.toUtf8() + '='))
            return line.mid(name.size() + 1).toInt();
    }
    return -1;
}

QStringList ServiceProcess::storedPictures() const {
    QStringList out;
    const QDir dir(m_store);
    for (const QString& name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files))
        out << dir.filePath(name);
    return out;
}

QByteArray sha256(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex();
}

QString writePicture(const QString& folder, const QString& name, qint64 size) {
    const QString path = folder + u'/' + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    auto* words = reinterpret_cast<quint32*>(chunk.data());
    for (qint64 left = size; left > 0; left -= chunk.size()) {
        QRandomGenerator::global()->fillRange(words, chunk.size() / 4);
        if (left == size) {
            chunk[0] = char(0xFF);
            chunk[1] = char(0xD8);
        }
        f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    }
    return path;
}

} // namespace korvex::test
