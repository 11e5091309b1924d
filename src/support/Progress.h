#pragma once

#include <QString>

namespace korvex {

// Program-wide cancel flag of long operations: they clear it when they start and test it between
// steps; the progress window's cancel question and the upload wizard set it.
extern bool ProgressCancelled;

// What showprogress drives: the main window's status gauge and the modeless progress window.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void setStatusGauge(int percent, bool visible) = 0;
    virtual void openProgressWindow() = 0; // create and show, not modal
    virtual void closeProgressWindow() = 0;
    virtual void setProgressMessage(const QString& message) = 0;
    virtual void setProgressCaption(const QString& caption) = 0;
    virtual void setProgressPercent(int percent) = 0; // gauge and its "n%" label
    virtual void repaintProgressWindow() = 0;
};

// The main window's progress logic: one presenter per main window, which forwards its
// showprogress / hideprogress operations here.
class ProgressPresenter {
public:
    explicit ProgressPresenter(ProgressDisplay& display) : m_display(display) {}

    // The "ShowDlgProgress" setting: whether the progress window may be used at all.
    void setShowDlgProgress(bool allowed) { m_showDlgProgress = allowed; }
    bool showDlgProgress() const { return m_showDlgProgress; }

    // Message or caption "SAME" keeps the text shown. A zero total, or done above total, changes
    // nothing.
    void showprogress(bool show, bool useDialog, qint64 done, qint64 total, const QString& message,
                      const QString& caption);
    void hideprogress();

    bool progressWindowExists() const { return m_windowExists; }

private:
    ProgressDisplay& m_display;
    bool m_showDlgProgress = true;
    bool m_windowExists = false;
};

} // namespace korvex
