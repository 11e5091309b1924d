#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvex {

// Turns SIGTERM and SIGINT (a desktop logging out, Ctrl+C in a terminal) into a signal on the
// event loop, so the window closes through its normal close sequence and saves what it holds.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace korvex
