#pragma once

#include <QDialog>
#include <memory>

class QLabel;

namespace korvex {

class Prompter;
class ProgressGauge;

// The modeless progress window. Asking to close it asks whether to cancel processing; Yes sets
// ProgressCancelled and lets it close (hidden, not freed: its owner frees it).
class TdlgProgress : public QDialog {
    Q_OBJECT
public:
    // Without a prompter the question is a message box.
    explicit TdlgProgress(Prompter* prompter = nullptr);
    ~TdlgProgress() override;

    void setMessage(const QString& message);
    void setPercent(int percent);

    QLabel* lblmessage() const { return m_message; }
    QLabel* lblProgress() const { return m_progress; }
    ProgressGauge* Gauge() const { return m_gauge; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool confirmCancel();

    Prompter* m_prompter;
    std::unique_ptr<Prompter> m_ownPrompter;
    QLabel* m_message;
    QLabel* m_picture;
    ProgressGauge* m_gauge;
    QLabel* m_progress;
};

} // namespace korvex
