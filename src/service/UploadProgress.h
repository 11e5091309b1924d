#pragma once

#include "TransferHttp.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace korvex {

// The transfer page's progress controls.
class UploadProgressDisplay {
public:
    virtual ~UploadProgressDisplay() = default;
    // The full path of the picture shown (the file label's tooltip).
    virtual QString shownFile() const = 0;
    // Shows the picture's shortened name, its path as tooltip and its thumbnail.
    virtual void showFile(const QString& path) = 0;
    virtual void setRemainingText(const QString& text) = 0;
    virtual void setGauge(int percent) = 0;
    virtual void animate(bool busy) = 0;
};

// "A few seconds", "2 minutes", "1 hour, 7 minutes", ...
QString TimeRemainingText(int seconds);

// Turns the HTTP client's work events into the gauge and the remaining-time estimate.
class UploadProgress : public TransferObserver {
public:
    static constexpr int NoEstimate = -9;

    explicit UploadProgress(UploadProgressDisplay& display);

    std::function<bool()> paused = [] { return false; };
    std::function<bool()> cancelled = [] { return false; };
    std::function<void()> stop = [] {}; // disconnects the HTTP client
    std::function<qint64()> tick;       // milliseconds; a monotonic clock

    // Pass-wide values; the pass resets them with startPass.
    qint64 BytesUploaded = 0;
    qint64 totalBytes = 0;
    int pictureCount = 0;
    int currentIndex = -1;
    QString currentFile;
    qint64 currentSize = 0;
    qint64 requestSize = 0;
    qint64 lastPosition = 0;
    qint64 lastTick = 0;
    QStringList samples; // bytes per second as decimal texts, oldest first
    int remainingPictures = 0;
    int lastEstimate = 0;

    void startPass();
    void UpdateUploadProgress(qint64 position);
    void AddBPSSample(qint64 speed);
    qint64 AverageBPS() const;
    void ShowUploadProgress(bool visible, qint64 done, qint64 estimate, const QString& file,
                            qint64 total);

    void workBegin(qint64 announcedSize) override;
    void work(qint64 bytesSoFar) override;
    void workEnd() override;

private:
    UploadProgressDisplay& m_display;
};

} // namespace korvex
