#pragma once

#include <QString>

namespace korvex {

// One picture of the transfer list, created from the service's result document.
struct TUploadFileRecord {
    QString ID; // the client's picture ID ("im0001"), echoed by the service
    QString path;
    QString title;
    QString subject;
    QString albumID;
    QString albumName;
    QString attributes;         // extra form fields, name=value items joined by "#"
    int status = StatusPending; // 0 transferred, otherwise the last failed attempt's code
    qint64 size = 0;            // taken when a transfer pass starts

    static constexpr int StatusPending = -9;
};

// The outcome of one transfer request.
struct TUploadResult {
    bool Success = false;
    int ErrCode = -999;
    QString ErrMsg = QStringLiteral("Unknown");
    QString Response;

    static constexpr int TransportFailure = 999;
};

// The service's ticket, kept for the whole program run and sent with every later request.
QString& AuthenticationID();

} // namespace korvex
