#pragma once

#include "ServiceRecords.h"
#include "TransferHttp.h"
#include "app/Settings.h"
#include "support/Progress.h"

#include <QString>
#include <functional>

namespace korvex {

// Reads one value and the error fields out of a service reply of name=value lines.
void GetResponseValue(const QString& name, const QString& reply, QString& value, QString& ErrMsg,
                      int& ErrCode);

// Copies the source from offset to its end into destination (for resuming an upload).
bool CreateOffSetFile(const QString& source, const QString& destination, qint64 offset);

// Cancel and pause as the transfer sees them; the wizard wires its buttons and the program-wide
// cancel flag in here.
struct TransferControl {
    std::function<bool()> cancelled = [] { return ProgressCancelled; };
    std::function<bool()> paused = [] { return false; };
};

// What the transfer shows besides progress.
struct TransferCallbacks {
    std::function<void(const QString&)> information; // debug-mode information boxes
    std::function<void(const QString&)> error;       // the refused-picture box
    std::function<void(const QString&)> albumCaption;
    std::function<void(const QString&)> response; // each reply body, for the page buffer
};

// Waits the given milliseconds while the event loop runs, so the window stays responsive.
void EventLoopSleep(int milliseconds);

// The per-picture transfer: image ID, upload, offset query and resume, with retries.
class ImageUploader {
public:
    // bytesUploaded is the pass's byte counter shared with the progress display.
    ImageUploader(const Settings& settings, TransferHttp& http, TransferControl control,
                  qint64& bytesUploaded);

    void setCallbacks(TransferCallbacks callbacks) { m_callbacks = std::move(callbacks); }
    // Tests shorten the back-off and pause waits through this.
    void setSleep(std::function<void(int milliseconds)> sleep) { m_sleep = std::move(sleep); }

    // 0 when the picture arrived; otherwise the code of the last failed attempt, or -1 when no
    // image ID could be had. Throws TransferFileError when the picture cannot be read.
    int UploadImage(const TUploadFileRecord& record);

    // The result of a picture whose last upload ended short without an error code: never 0,
    // which would count it as transferred.
    static constexpr int UploadIncomplete = -2;

    TUploadResult _GetImageID();
    TUploadResult _UploadImage(const TUploadFileRecord& record);
    TUploadResult _GetImageOffSet(qint64& offset);

    QString ImageID;
    QString ImageServer;
    qint64 UploadOffset = 0;

private:
    QList<FormField> smallRequestFields() const;
    // Logs a reply and keeps its text; false (a transport failure) when none came.
    bool takeReply(const QString& category, const TransferHttp::Reply& reply,
                   TUploadResult& result);
    TUploadResult postSmall(const QString& category, const QString& url,
                            const QList<FormField>& fields);
    void pauseWait(int& same, int& tries);

    const Settings& m_settings;
    TransferHttp& m_http;
    TransferControl m_control;
    qint64& m_bytesUploaded;
    TransferCallbacks m_callbacks;
    std::function<void(int)> m_sleep = EventLoopSleep;
};

} // namespace korvex
