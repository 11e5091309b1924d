#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace korvex::test {

// The reference service started from build/bin on 127.0.0.1 with a port the system picks, storing
// into its own folder; stopped with the object.
class ServiceProcess {
public:
    ServiceProcess();
    ~ServiceProcess();

    bool running() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QString hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString store() const { return m_store; }

    // Sets faults ("drop-after=1000") and returns the service's counters ("uploads=1\n...").
    QByteArray control(const QString& query);
    int counter(const QString& name);
    // The pictures the service holds complete.
    QStringList storedPictures() const;

private:
    QProcess m_process;
    QString m_store;
    quint16 m_port = 0;
};

// A GET, or a form POST when body is given, without proxy; the reply body.
QByteArray fetch(const QString& url, const QByteArray& body = {});
QByteArray sha256(const QString& path);
// A JPEG-looking file of the given size with random content.
QString writePicture(const QString& folder, const QString& name, qint64 size);

} // namespace korvex::test
