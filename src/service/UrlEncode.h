#pragma once

#include <QByteArray>
#include <QString>

namespace korvex {

// Encodes a value for the form posts the client writes as text: control bytes, bytes from 0x80
// and the characters space # % * + < > become %XX; everything else, "&" and "=" included, is
// copied, because the service reads those posts with exactly this rule.
QByteArray URLEncode(const QByteArray& value);
// The text's UTF-8 bytes, encoded as above.
QString URLEncode(const QString& value);

} // namespace korvex
