#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// A freedesktop key file (".desktop" entries, "mimeapps.list"). QSettings rewrites these files in
// its own dialect, so they are read and written here: lines, comments and key order are kept, and
// string values use the key-file escapes (\s \n \t \r \\).
class DesktopKeyFile {
public:
    // Replaces the content with the file's; false when it cannot be read.
    bool load(const QString& fileName);
    // Writes the file in one step (the old file survives a failed write).
    bool save(const QString& fileName) const;

    bool contains(const QString& group, const QString& key) const;
    QString value(const QString& group, const QString& key) const;
    void setValue(const QString& group, const QString& key, const QString& value);
    void remove(const QString& group, const QString& key);

    QString toString() const;

    // One argument of an "Exec" value, quoted when it holds a reserved character.
    static QString quoteExecArgument(const QString& argument);
    // The arguments of an "Exec" value (already unescaped), without field codes such as %f.
    static QStringList splitExec(const QString& exec);

private:
    // Index of the key's line, or -1; groupEnd receives the index after the group's last line
    // (-1 when the group is absent).
    qsizetype find(const QString& group, const QString& key, qsizetype* groupEnd) const;

    QStringList m_lines;
};

} // namespace korvex
