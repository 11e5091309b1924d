#include "Progress.h"

namespace korvex {

bool ProgressCancelled = false;

namespace {

const QString kSame = QStringLiteral("SAME");

int percentDone(qint64 done, qint64 total) {
    const __int128 percent = __int128(done) * 100 / total;
    return percent > 100 || percent < 0 ? 0 : int(percent);
}

} // namespace

void ProgressPresenter::showprogress(bool show, bool useDialog, qint64 done, qint64 total,
                                     const QString& message, const QString& caption) {
    if (!show) {
        if (m_windowExists) {
            m_display.closeProgressWindow();
            m_windowExists = false;
        }
        m_display.setStatusGauge(0, false);
        return;
    }
    if (total == 0 || total < done)
        return;
    const int percent = percentDone(done, total);
    m_display.setStatusGauge(percent, true);
    if (!m_showDlgProgress || !useDialog)
        return;
    if (!m_windowExists) {
        m_display.openProgressWindow();
        m_windowExists = true;
    }
    if (message != kSame)
        m_display.setProgressMessage(message);
    if (caption != kSame)
        m_display.setProgressCaption(caption);
    m_display.setProgressPercent(percent);
    m_display.repaintProgressWindow();
}

void ProgressPresenter::hideprogress() {
    showprogress(false, true, 10, 10, {}, {});
}

} // namespace korvex
