#include "TransferProtocol.h"

#include "Endpoints.h"
#include "support/DebugLog.h"
#include "support/FileRoutines.h"
#include "support/TextRoutines.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace korvex {

namespace {

bool startsWithKey(const QString& line, const QString& key) {
    return line.startsWith(key + u'=', Qt::CaseInsensitive);
}

// Deletes the partial copy once its request is over, whatever the outcome.
struct RemoveOnExit {
    QString path;
    ~RemoveOnExit() {
        if (!path.isEmpty())
            QFile::remove(path);
    }
};

} // namespace

void GetResponseValue(const QString& name, const QString& reply, QString& value, QString& ErrMsg,
                      int& ErrCode) {
    value.clear();
    ErrMsg.clear();
    ErrCode = 0;
    const QStringList lines = reply.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (startsWithKey(line, name))
            value = line.mid(name.size() + 1);
        if (startsWithKey(line, QStringLiteral("ErrMsg")))
            ErrMsg = line.mid(7);
        if (startsWithKey(line, QStringLiteral("ErrCode")))
            ErrCode = line.mid(8).trimmed().toInt();
    }
}

bool CreateOffSetFile(const QString& source, const QString& destination, qint64 offset) {
    const QString category = QStringLiteral("CreateOffSetFile");
    DebugLog(category, QStringLiteral("Start: Infile=%1, OutFile=%2, Offset=%3")
                           .arg(source, destination)
                           .arg(offset));
    QString failure;
    QFile in(source);
    QFile out(destination);
    if (!in.exists()) {
        failure = QStringLiteral("File not exists: ") + source;
    } else {
        DebugLog(category, QStringLiteral("Create InFileStream"));
        if (!in.open(QIODevice::ReadOnly)) {
            failure = in.errorString();
        } else {
            const qint64 size = in.size();
            DebugLog(category, QStringLiteral("InFileStream size: %1").arg(size));
            if (size < offset) {
                DebugLog(category, QStringLiteral("InFile size: %1").arg(size));
                failure = QStringLiteral("Offset Exceeds Source Size");
            } else {
                QFile::remove(destination);
                DebugLog(category, QStringLiteral("Create OutFileStream"));
                if (!out.open(QIODevice::WriteOnly)) {
                    failure = out.errorString();
                } else {
                    DebugLog(category, QStringLiteral("Seek Offset"));
                    in.seek(offset);
                    DebugLog(category, QStringLiteral("Copy Stream"));
                    QByteArray chunk(1 << 20, Qt::Uninitialized);
                    for (qint64 left = size - offset; left > 0 && failure.isEmpty();) {
                        const qint64 n =
                            in.read(chunk.data(), std::min<qint64>(left, chunk.size()));
                        if (n <= 0 || out.write(chunk.constData(), n) != n)
                            failure = QStringLiteral("Copy failed: ") + out.errorString();
                        left -= n;
                    }
                    if (failure.isEmpty() && !out.flush())
                        failure = out.errorString();
                }
            }
        }
    }
    if (!failure.isEmpty()) {
        DebugLog(category, QStringLiteral("Error: ") + failure);
        out.close();
        if (out.exists())
            out.remove();
    }
    DebugLog(category, QStringLiteral("End, Result=") + BoolToText(failure.isEmpty()));
    return failure.isEmpty();
}

void EventLoopSleep(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

ImageUploader::ImageUploader(const Settings& settings, TransferHttp& http, TransferControl control,
                             qint64& bytesUploaded)
    : m_settings(settings), m_http(http), m_control(std::move(control)),
      m_bytesUploaded(bytesUploaded) {}

QList<FormField> ImageUploader::smallRequestFields() const {
    QList<FormField> fields{{QStringLiteral("ProtocolVersion"), QLatin1String(ProtocolVersion)}};
    if (!AuthenticationID().isEmpty())
        fields.append({QStringLiteral("AuthenticationID"), AuthenticationID()});
    return fields;
}

TUploadResult ImageUploader::postSmall(const QString& category, const QString& url,
                                       const QList<FormField>& fields) {
    TUploadResult result;
    DebugLog(category, QStringLiteral("Commencing Post to: ") + url);
    DebugLog(category, QStringLiteral("Post Data: ") + QString::fromUtf8(FormBody(fields)));
    takeReply(category, m_http.postForm(url, fields), result);
    return result;
}

bool ImageUploader::takeReply(const QString& category, const TransferHttp::Reply& reply,
                              TUploadResult& result) {
    if (!reply.ok) {
        DebugLog(category, QStringLiteral("Post Error: ") + reply.error);
        result.ErrCode = TUploadResult::TransportFailure;
        return false;
    }
    result.Response = QString::fromUtf8(reply.body);
    DebugLog(category, QStringLiteral("HTTP Response: ") + result.Response);
    if (m_callbacks.response)
        m_callbacks.response(result.Response);
    return true;
}

TUploadResult ImageUploader::_GetImageID() {
    const QString category = QStringLiteral("_GetImageID");
    DebugLog(category, QStringLiteral("Start"));
    TUploadResult result = postSmall(category, ImageIDURL(m_settings), smallRequestFields());
    if (result.ErrCode == TUploadResult::TransportFailure)
        return result;
    QString id, server, unused;
    GetResponseValue(QStringLiteral("ImageID"), result.Response, id, result.ErrMsg, result.ErrCode);
    GetResponseValue(QStringLiteral("Server"), result.Response, server, unused, result.ErrCode);
    DebugLog(category, QStringLiteral("ImageID: ") + id);
    DebugLog(category, QStringLiteral("Server: ") + server);
    result.Success = !id.isEmpty() && !server.isEmpty();
    if (result.Success) {
        ImageID = id;
        ImageServer = server;
    } else {
        DebugLog(category, QStringLiteral("Error: %1 (%2)").arg(result.ErrMsg).arg(result.ErrCode));
        if (debuglog::enabled() && m_callbacks.information)
            m_callbacks.information(QStringLiteral("DEBUG: \r\n\r\nGetImageID Error: %1 (%2)")
                                        .arg(result.ErrMsg)
                                        .arg(result.ErrCode));
    }
    DebugLog(category, QStringLiteral("End, Success=") + BoolToText(result.Success));
    return result;
}

TUploadResult ImageUploader::_GetImageOffSet(qint64& offset) {
    const QString category = QStringLiteral("_GetImageOffSet");
    DebugLog(category, QStringLiteral("Start"));
    QList<FormField> fields = smallRequestFields();
    fields.append({QStringLiteral("ImageID"), ImageID});
    offset = 0;
    TUploadResult result = postSmall(category, ImageOffsetURL(ImageServer), fields);
    if (result.ErrCode == TUploadResult::TransportFailure)
        return result;
    QString text;
    GetResponseValue(QStringLiteral("Offset"), result.Response, text, result.ErrMsg,
                     result.ErrCode);
    offset = text.trimmed().toLongLong();
    DebugLog(category, QStringLiteral("Offset: %1").arg(offset));
    result.Success = offset > 0;
    if (!result.Success)
        DebugLog(category, QStringLiteral("Error: %1 (%2)").arg(result.ErrMsg).arg(result.ErrCode));
    DebugLog(category, QStringLiteral("End, Success=") + BoolToText(result.Success));
    return result;
}

TUploadResult ImageUploader::_UploadImage(const TUploadFileRecord& record) {
    const QString category = QStringLiteral("_UploadImage");
    DebugLog(category, QStringLiteral("Start"));
    TUploadResult result;
    if (m_callbacks.albumCaption)
        m_callbacks.albumCaption(record.albumName.isEmpty()
                                     ? QStringLiteral("Uploading pictures to Corvanta")
                                     : QStringLiteral("Uploading pictures to Album: ") +
                                           record.albumName);
    const QString url = UploadImageURL(ImageServer);
    DebugLog(category, QStringLiteral("Commencing Post to : ") + url);
    DebugLog(category, QStringLiteral("Create mpfPostData for ") + record.path);

    const auto add = [](QList<FormField>& fields, const char* name, const QString& value) {
        fields.append({QLatin1String(name), value});
    };
    QList<FormField> fields;
    add(fields, "ProtocolVersion", QLatin1String(ProtocolVersion));
    if (!AuthenticationID().isEmpty())
        add(fields, "AuthenticationID", AuthenticationID());
    add(fields, "PartnerID", m_settings.PartnerID);
    add(fields, "PartnerSubID", m_settings.PartnerSubID);
    if (!m_settings.CampaignID.isEmpty())
        add(fields, "CampaignID", m_settings.CampaignID);
    if (!record.attributes.isEmpty()) {
        for (const QString& item : record.attributes.split(u'#')) {
            const qsizetype eq = item.indexOf(u'=');
            const QString name = eq < 0 ? item : item.left(eq);
            const QString value = eq < 0 ? item : item.mid(eq + 1);
            DebugLog(category, QStringLiteral("AddFormField %1 = %2").arg(name, value));
            fields.append({name, value});
        }
    }
    add(fields, "CampaignID", m_settings.CampaignID);
    const QString userAgent = GetUserAgent(m_settings);
    DebugLog(category, QStringLiteral("User-Agent= ") + userAgent);
    add(fields, "User-Agent", userAgent);
    add(fields, "ImageID", ImageID);
    DebugLog(category, QStringLiteral("Image.AlbumID= ") + record.albumID);
    if (!record.albumID.isEmpty())
        add(fields, "Image.AlbumID", record.albumID);
    if (!record.title.isEmpty())
        add(fields, "Image.Title", record.title);
    if (!record.subject.isEmpty())
        add(fields, "Image.Subject", record.subject);
    add(fields, "Image.Raw.Size", QString::number(QFileInfo(record.path).size()));

    FilePart file{QStringLiteral("Image.Data"), record.path,
                  QStringLiteral("application/octet-stream")};
    RemoveOnExit copy;
    if (UploadOffset > 0) {
        const QString partial = TempCopyName(record.path);
        if (CreateOffSetFile(record.path, partial, UploadOffset)) {
            copy.path = partial;
            add(fields, "Offset", QString::number(UploadOffset));
            file.path = partial;
            DebugLog(category, QStringLiteral("Uploading Offset Image: ") + partial);
        } else {
            DebugLog(category, QStringLiteral("Error creating offset file, upload complete file"));
            UploadOffset = 0;
        }
    }
    if (copy.path.isEmpty())
        DebugLog(category, QStringLiteral("Uploading Image: ") + record.path);

    const TransferHttp::Reply reply = m_http.postMultipart(url, fields, file);
    DebugLog(category, QStringLiteral("Free mpfPostData for ") + record.path);
    if (!takeReply(category, reply, result))
        return result;
    QString status;
    GetResponseValue(QStringLiteral("Status"), result.Response, status, result.ErrMsg,
                     result.ErrCode);
    result.Success = status.toUpper() == QStringLiteral("OK");
    if (!result.Success) {
        DebugLog(category, QStringLiteral("Error: %1 (%2)").arg(result.ErrMsg).arg(result.ErrCode));
        if (debuglog::enabled() && m_callbacks.information)
            m_callbacks.information(QStringLiteral("DEBUG: \r\n\r\nUploadImage Error: %1 (%2)")
                                        .arg(result.ErrMsg)
                                        .arg(result.ErrCode));
        if (result.ErrCode == 4 && m_callbacks.error)
            m_callbacks.error(QStringLiteral(
                "This picture is causing an error.  It either may not be a standard "
                "JPEG-formatted image, or may have some other problems (be a corrupted file).  "
                "Please check your picture and try to upload again.\r\nUploadImageError (4)"));
    }
    DebugLog(category, QStringLiteral("End, Success=") + BoolToText(result.Success));
    return result;
}

void ImageUploader::pauseWait(int& same, int& tries) {
    while (m_control.paused() && !m_control.cancelled())
        m_sleep(1000);
    same = 0;
    tries = 0;
}

int ImageUploader::UploadImage(const TUploadFileRecord& record) {
    const QString category = QStringLiteral("UploadImage");
    const auto log = [&category](const QString& text) { DebugLog(category, text); };
    const auto cancelled = [&] {
        if (!m_control.cancelled())
            return false;
        log(QStringLiteral("Exiting as Progress Cancelled"));
        return true;
    };
    enum class State { Running, Success, InvalidImage, Abort };

    log(QStringLiteral("Start, Image=") + record.path);
    int result = -1;
    State state = State::Running;
    int tries = 0;
    int same = 0;
    while (state == State::Running && tries < 5) {
        if (cancelled())
            return result;
        log(QStringLiteral("Obtaining an ImageID (attempt %1)").arg(tries));
        if (!_GetImageID().Success) {
            ++tries;
            log(QStringLiteral("Failed trying again (tries=%1)").arg(tries));
            continue;
        }
        UploadOffset = 0;
        same = 0;
        while (state == State::Running && same < 5) {
            if (m_control.paused()) {
                log(QStringLiteral("Paused"));
                pauseWait(same, tries);
            }
            if (cancelled())
                return result;
            const qint64 wasUploaded = m_bytesUploaded;
            m_bytesUploaded += UploadOffset;
            log(QStringLiteral("Uploading the Image (attempt %1)").arg(tries));
            const TUploadResult upload = _UploadImage(record);
            result = upload.ErrCode == 0 ? UploadIncomplete : upload.ErrCode;
            if (upload.Success) {
                result = 0;
                log(QStringLiteral("Setting state to SUCCESS"));
                state = State::Success;
                break;
            }
            if (upload.ErrCode == 4) {
                log(QStringLiteral("Setting state to INVALID_IMAGE"));
                state = State::InvalidImage;
                break;
            }
            log(QStringLiteral("Resetting BytesUploaded to WasUploaded (%1)").arg(wasUploaded));
            m_bytesUploaded = wasUploaded;
            if (upload.ErrCode == 1 || upload.ErrCode == 2) {
                log(QStringLiteral("Critical error encountered, ABORT"));
                state = State::Abort;
            } else if (!m_control.paused() && upload.ErrCode > 0) {
                ++tries;
                log(QStringLiteral("Server Error, trying again (tries=%1)").arg(tries));
                break;
            }
            if (m_control.paused()) {
                log(QStringLiteral("Paused2"));
                pauseWait(same, tries);
            }

            int k = 0;
            qint64 serverOffset = 0;
            while (state == State::Running && serverOffset == 0 && k < 5) {
                if (cancelled())
                    return result;
                log(QStringLiteral("Obtaining Image Offset (attempt %1)").arg(k));
                const TUploadResult query = _GetImageOffSet(serverOffset);
                if (query.ErrCode == 1 || query.ErrCode == 2 || query.ErrCode == 4) {
                    log(QStringLiteral("Critical error encountered, ABORT"));
                    result = query.ErrCode;
                    state = State::Abort;
                } else if (query.ErrCode == 14) {
                    result = 0;
                    log(QStringLiteral("Setting state to SUCCESS"));
                    state = State::Success;
                } else if (query.ErrCode == 6) {
                    ++k;
                    log(QStringLiteral("Invalid ImageID, Sleeping for: %1").arg(k * k));
                    m_sleep(k * k * 1000);
                } else if (!query.Success) {
                    ++k;
                    serverOffset = 0;
                }
            }
            if (state != State::Running)
                break;
            if (k == 5) {
                ++tries;
                log(QStringLiteral("Retrying with a new server, (tries=%1)").arg(tries));
                break;
            }
            if (serverOffset == UploadOffset) {
                ++same;
                log(QStringLiteral("Retrying with same server, (tries=%1)").arg(same));
            } else {
                UploadOffset = serverOffset;
                same = 0;
                log(QStringLiteral("Retrying upload with Offset (%1)").arg(UploadOffset));
            }
        }
    }
    log(QStringLiteral("End"));
    return result;
}

} // namespace korvex
