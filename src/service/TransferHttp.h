#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <stdexcept>

namespace korvex {

struct FormField {
    QString name;
    QString value;
};

// The file part of a multipart post; its body is read from the file while it is sent.
struct FilePart {
    QString name;
    QString path;
    QString contentType;
};

// Raised when the file of an upload cannot be opened: unlike a network failure this ends the
// whole transfer phase, since every later attempt would fail the same way.
class TransferFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The HTTP client's work events, raised while a request body goes out.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    virtual void workBegin(qint64 announcedSize) = 0;
    virtual void work(qint64 bytesSoFar) = 0;
    virtual void workEnd() = 0;
};

// A synchronous HTTP client for the transfer requests. A call returns when the reply has arrived
// or the request failed; an implementation keeps the user interface responsive meanwhile.
class TransferHttp {
public:
    struct Reply {
        bool ok = false; // false: the request itself failed (refused, broken, aborted)
        QByteArray body;
        QString error; // the failure's text when not ok
    };

    virtual ~TransferHttp() = default;
    virtual Reply postForm(const QString& url, const QList<FormField>& fields) = 0;
    // Throws TransferFileError when the file cannot be opened for reading.
    virtual Reply postMultipart(const QString& url, const QList<FormField>& fields,
                                const FilePart& file) = 0;
    // Disconnects the running request, which then fails at once (pause and cancel).
    virtual void abort() = 0;
    virtual void setObserver(TransferObserver* observer) = 0;
};

} // namespace korvex

namespace korvex {

// name=value pairs joined by "&", values percent-encoded as an HTML form would send them.
QByteArray FormBody(const QList<FormField>& fields);

} // namespace korvex
