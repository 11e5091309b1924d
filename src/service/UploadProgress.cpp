#include "UploadProgress.h"

#include "support/DebugLog.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace korvex {

namespace {

// Halves go to the even neighbour.
qint64 roundEven(double value) {
    return qint64(std::nearbyint(value));
}

qint64 monotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

constexpr qsizetype MaxSamples = 14;
constexpr qint64 SmallRequest = 1000; // image-ID and offset requests stay out of the progress

} // namespace

QString TimeRemainingText(int s) {
    const int minutes = int(s / 60.0 + 0.5);
    const int m = minutes % 60;
    if (s < 7)
        return QStringLiteral("A few seconds");
    if (s < 20)
        return QStringLiteral("%1 seconds").arg(s);
    if (s < 60)
        return QStringLiteral("Less than a minute");
    if (s < 90)
        return QStringLiteral("About one minute");
    if (s < 3000)
        return QStringLiteral("%1 minutes").arg(minutes);
    if (s < 4000)
        return QStringLiteral("About one hour");
    if (s < 7199)
        return QStringLiteral("1 hour, %1 minutes").arg(m);
    if (s < 7259)
        return QStringLiteral("2 hours");
    if (s < 7319)
        return QStringLiteral("2 hours, 1 minute");
    if (s < 10799)
        return QStringLiteral("2 hours, %1 minutes").arg(m);
    return QStringLiteral("Over %1 hours").arg(int(s / 3600.0 + 0.5));
}

UploadProgress::UploadProgress(UploadProgressDisplay& display)
    : tick(monotonicMs), m_display(display) {}

void UploadProgress::startPass() {
    lastEstimate = 0;
    lastPosition = 0;
    lastTick = tick();
    BytesUploaded = 0;
    samples.clear();
    totalBytes = 0;
}

void UploadProgress::AddBPSSample(qint64 speed) {
    if (speed < 0)
        return;
    samples.append(QString::number(speed));
    while (samples.size() > MaxSamples)
        samples.removeFirst();
}

qint64 UploadProgress::AverageBPS() const {
    const QString category = QStringLiteral("AverageBPS");
    std::vector<qint64> sorted;
    for (const QString& s : samples)
        sorted.push_back(s.toLongLong());
    std::sort(sorted.begin(), sorted.end());
    const auto drop = size_t(roundEven(double(sorted.size()) * 33 / 100));
    DebugLog(category, QStringLiteral("Drop off count: %1").arg(drop));
    if (debuglog::enabled()) {
        DebugLog(category, QStringLiteral("BPS List: "));
        for (size_t i = 0; i < sorted.size(); ++i) {
            const bool dropped = i < drop || i >= sorted.size() - drop;
            DebugLog(category, (dropped ? QStringLiteral("X ") : QStringLiteral("- ")) +
                                   QString::number(sorted[i]));
        }
    }
    if (sorted.size() <= 2 * drop || sorted.empty())
        return 0;
    qint64 sum = 0;
    for (size_t i = drop; i < sorted.size() - drop; ++i)
        sum += sorted[i];
    const size_t count = sorted.size() - 2 * drop;
    const qint64 average = roundEven(double(sum) / double(count));
    DebugLog(category, QStringLiteral("%1/sec (Sample=%2)").arg(average).arg(count));
    return average;
}

void UploadProgress::UpdateUploadProgress(qint64 pos) {
    const QString category = QStringLiteral("UpdateUploadProgress");
    DebugLog(category, QStringLiteral("Start, CurrPos=%1").arg(pos));
    const qint64 done = pos + BytesUploaded;
    if (cancelled()) {
        DebugLog(category, QStringLiteral("Calling Stop"));
        stop();
    }
    if (pictureCount > 0 && totalBytes > 0)
        DebugLog(category, QStringLiteral("Progress: %1%").arg(done * 100 / totalBytes));
    DebugLog(category, QStringLiteral("Progress: %1/%2").arg(done).arg(totalBytes));

    const qint64 delta = done - lastPosition;
    lastPosition = done;
    qint64 estimate = NoEstimate;
    if (delta != 0) {
        const qint64 now = tick();
        const qint64 dt = now - lastTick;
        lastTick = now;
        if (dt != 0) {
            const auto speed = qint64(double(delta) / double(dt) * 1000);
            DebugLog(category, QStringLiteral("%1 / %2 = %3 BPS").arg(delta).arg(dt).arg(speed));
            AddBPSSample(speed);
            DebugLog(category, QStringLiteral("Add to BPS: %1").arg(speed));
            const qint64 average = AverageBPS();
            if (average != 0) {
                estimate = roundEven(double(totalBytes - done) / double(average)) +
                           roundEven(remainingPictures * 1.8);
                if (lastEstimate > 0)
                    estimate = (lastEstimate + estimate) / 2;
                lastEstimate = int(estimate);
            }
        }
    }
    if (estimate >= 0)
        DebugLog(category, QStringLiteral("Seconds to go: %1").arg(estimate));
    ShowUploadProgress(currentIndex >= 0, done, estimate, currentFile, totalBytes);
    DebugLog(category, QStringLiteral("End"));
}

void UploadProgress::ShowUploadProgress(bool visible, qint64 done, qint64 estimate,
                                        const QString& file, qint64 total) {
    if (paused() || !visible || total == 0 || total < done)
        return;
    if (m_display.shownFile() != file)
        m_display.showFile(file);
    if (estimate >= 0)
        m_display.setRemainingText(QStringLiteral("Approximate time remaining:  ") +
                                   TimeRemainingText(int(estimate)));
    else if (estimate != NoEstimate)
        m_display.setRemainingText(QString());
    const double percent = double(done) / double(total) * 100;
    const int gauge = int(roundEven(percent));
    m_display.setGauge(gauge);
    DebugLog(
        QStringLiteral("ShowUploadProgress"),
        QStringLiteral("Progress= %1% (%2/%3=%4%)").arg(gauge).arg(done).arg(total).arg(percent));
}

void UploadProgress::workBegin(qint64 announcedSize) {
    DebugLog(QStringLiteral("HTTPWorkBegin"), QStringLiteral("SetAnimate-TRUE"));
    m_display.animate(true);
    requestSize = announcedSize;
    if (announcedSize > 0)
        DebugLog(QStringLiteral("HTTPWorkBegin"),
                 QStringLiteral("Transfering: %1").arg(announcedSize));
}

void UploadProgress::work(qint64 bytesSoFar) {
    if (currentIndex >= 0 && requestSize > SmallRequest)
        UpdateUploadProgress(std::min(bytesSoFar, currentSize));
    DebugLog(QStringLiteral("HTTPWork"), QStringLiteral("%1 bytes.").arg(bytesSoFar));
}

void UploadProgress::workEnd() {
    const QString category = QStringLiteral("HTTPWorkEnd");
    DebugLog(category, QStringLiteral("SetAnimate-FALSE"));
    m_display.animate(false);
    if (currentIndex < 0 || requestSize <= SmallRequest) {
        DebugLog(category, QStringLiteral("Finished"));
        return;
    }
    DebugLog(category, QStringLiteral("Inc BytesUploaded by %1").arg(currentSize));
    BytesUploaded += currentSize;
    UpdateUploadProgress(0);
}

} // namespace korvex
