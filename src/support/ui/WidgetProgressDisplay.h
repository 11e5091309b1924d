#pragma once

#include "support/Progress.h"

#include <memory>

class QProgressBar;

namespace korvex {
class Prompter;
}

namespace korvex {

class TdlgProgress;

// Shows ProgressPresenter's state on the main window's status gauge (pbrLoad) and in a
// TdlgProgress window, which is owned here and lives from openProgressWindow to
// closeProgressWindow.
class WidgetProgressDisplay final : public ProgressDisplay {
public:
    // The prompter (may be null) asks the progress window's cancel question.
    explicit WidgetProgressDisplay(QProgressBar* statusGauge, Prompter* prompter = nullptr);
    ~WidgetProgressDisplay() override;

    void setStatusGauge(int percent, bool visible) override;
    void openProgressWindow() override;
    void closeProgressWindow() override;
    void setProgressMessage(const QString& message) override;
    void setProgressCaption(const QString& caption) override;
    void setProgressPercent(int percent) override;
    void repaintProgressWindow() override;

    TdlgProgress* progressWindow() const { return m_window.get(); }

private:
    QProgressBar* m_statusGauge;
    Prompter* m_prompter;
    std::unique_ptr<TdlgProgress> m_window;
};

} // namespace korvex
