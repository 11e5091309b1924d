#pragma once

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;

namespace korvex {

// One running copy per user and executable name. A later start hands its arguments (at most 10,
// each cut to 300 characters) to the running copy over a local socket in the abstract namespace,
// so a crash leaves no socket file behind; a lock file settles which start is first.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxArguments = 10;
    static constexpr int kMaxArgumentLength = 300;

    // scope names the copy, normally the executable's file name.
    explicit SingleInstance(const QString& scope, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Role { First, HandedOver, Independent };

    // Becomes the first copy, or hands the arguments to the running one. A running copy that
    // neither answers nor releases its lock within lockWaits × waitMs leaves this start to run
    // on its own.
    Role start(const QStringList& arguments, int lockWaits = 4, int waitMs = 10000);

    static QStringList limitArguments(const QStringList& arguments);

signals:
    // A later start's arguments, delivered through the event loop.
    void instanceStarted(const QStringList& arguments);

private:
    bool handOver(const QStringList& arguments, int timeoutMs);
    bool listen();

    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace korvex
