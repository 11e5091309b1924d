#pragma once

#include <QDateTime>
#include <QString>

namespace korvex {

class Prompter;

// Trims blanks and appends "/" unless the path is empty or already ends in "/" or "\".
QString IncludeSlash(const QString& path);
// Trims blanks and removes one trailing "/" or "\"; the root "/" stays as it is.
QString ExcludeSlash(const QString& path);
// The last component of ExcludeSlash(path); path itself when that is empty.
QString LastPathPart(const QString& path);
// The file name without its last extension.
QString FileNameWithoutExt(const QString& path);

// The system's temporary folder, with a trailing "/".
QString GetTempFolder();
// A free name in the temporary folder for a copy of path.
QString TempCopyName(const QString& path);

// path itself when nothing of that name exists (without pad); otherwise the first free
// folder + name + separator + n + extension, n from 2 (with pad: from 1, the number left-filled
// with blanks to three characters). Empty when twenty million candidates are taken.
QString UniqueFileName(const QString& path, const QString& separator = QStringLiteral("_"),
                       bool pad = false);

// There are no critical-error dialogs ("insert a disk") on Linux, so the "Safe" tests are the
// plain ones.
bool SafeFileExists(const QString& path);
bool SafeDirectoryExists(const QString& path);
// The modification time, invalid (the "0" date) when unavailable.
QDateTime SafeFileDate(const QString& path);
// The creation (birth) time of a file or folder in local time; the modification time where the
// file system keeps no birth time; invalid when the path does not exist.
QDateTime FileCreationTime(const QString& path);

// "999 bytes", "1 KB", "1.91 MB", "19 MB" (the decimal separator is the locale's).
QString FileSizeText(qint64 size, bool exact);

// Whether the upper-case extension of path (".NOTHING" without one) is in the ";"-separated
// list of extensions; "*.*" admits everything.
bool ExtensionInList(const QString& path, const QString& list);

// The owner-write permission stands in for the read-only attribute. A path that cannot be
// queried (a missing file) counts as read-only.
bool IsReadOnly(const QString& path);
bool ClearReadOnly(const QString& path);

// Copies source over target (keeping the source's times and permissions). The target is
// replaced in one step, so a failed copy leaves an existing target as it was; a read-only
// target is refused. With checkSize both files must have the same size afterwards.
bool CopyFileChecked(const QString& source, const QString& target, bool checkSize);
// CopyFileChecked, then deletes the source; true when both succeeded. When the source cannot be
// deleted, a target that did not exist before is removed again so that only the source remains;
// a target that existed before keeps the copied content.
bool MoveFileByCopy(const QString& source, const QString& target, bool checkSize);

// The locale's date and time of moment for use in a file name: with dashes ":" → ".",
// "/" → "-", blank → "_"; otherwise those characters are removed.
QString DateTimeToFileText(bool dashes, const QDateTime& moment);

// Appends text and a line break to the file (creating it; emptying it first with rewrite).
bool AppendLine(const QString& fileName, const QString& text, bool rewrite);

// Linux has no short names: the path itself.
QString ShortPathName(const QString& path);

// Whether name holds one of \ / : * ? " < > |; with report and a prompter a hit is explained.
bool HasInvalidFileChars(const QString& name, bool report, Prompter* prompter = nullptr);

} // namespace korvex
