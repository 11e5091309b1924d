#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace korvex {

// The error the text routines raise ("Not a boolean string", "Circular replacement error").
class EXFunctionError : public std::runtime_error {
public:
    explicit EXFunctionError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// Markers are found without regard to case; an absent (or empty) marker leaves the whole text.
QString TextBefore(const QString& text, const QString& marker);
QString TextAfter(const QString& text, const QString& marker);
// Empty when text lacks start; otherwise TextBefore(TextAfter(text, start), end).
QString TextBetween(const QString& text, const QString& start, const QString& end);
// TextBetween(text, "<name>", "</name>").
QString ElementText(const QString& text, const QString& name);
// Whether text holds part, without regard to case (an empty part is never found).
bool ContainsText(const QString& part, const QString& text);

// Removes part (case-sensitive) until none is left, also where removals join new occurrences.
QString RemoveText(const QString& text, const QString& part);
QString DeleteLeft(const QString& text, qsizetype n);
QString KeepLeft(const QString& text, qsizetype n);

// Replaces find (case-sensitive), searching again from the start after each replacement, so
// occurrences that a replacement creates are replaced too. Raises EXFunctionError "Circular
// replacement error" when the replacement holds find, which would never end.
QString ReplaceText(const QString& text, const QString& find, const QString& replacement);
QString ReplaceChar(const QString& text, QChar find, QChar by);
QString ReplaceCharByText(const QString& text, QChar find, const QString& replacement);

// The pieces of text between separators, in order. Empty for an empty text or one that is just
// the separator; empty pieces only with keepEmpty. "" inside a piece becomes ".
QStringList SplitText(const QString& text, QChar separator, bool keepEmpty);

QString BoolToText(bool value);
// "True"/"False" in any case; anything else gives defaultValue.
bool TextToBoolDef(const QString& text, bool defaultValue);
// As TextToBoolDef, but anything else raises EXFunctionError "Not a boolean string".
bool TextToBool(const QString& text);

QString IfEmpty(const QString& text, const QString& defaultText);
QString TextIf(const QString& text, bool condition);
QString IfThenText(bool condition, const QString& a, const QString& b);
int IfThenInt(bool condition, int a, int b);
int IMax(int a, int b);
int IMin(int a, int b);

// value × percent / 100 and part / whole × 100, rounded with halves to the even neighbour.
// Percentage of a zero whole is 0.
qint64 PercentOf(qint64 value, qint64 percent);
int Percentage(qint64 part, qint64 whole);

// The service's form-value encoding of the text's UTF-8 bytes: control bytes, bytes of 0x80 and
// above, space and # % * + < > become %XX (upper-case hex); every other byte stays.
QString URLEncode(const QString& text);

} // namespace korvex
