#pragma once

#include <QString>
#include <initializer_list>

namespace korvex {

// A character written in a key file as a backslash and a letter, such as a tab as "\t".
struct EscapePair {
    char16_t character;
    char16_t letter;
};

// Backslash escapes that keep a value on one line of an INI or desktop key file. "\\", "\n" and
// "\r" are always escaped; extra adds the characters a particular file must escape too.
QString escapeKeyFileText(QStringView text, std::initializer_list<EscapePair> extra = {});
// The reverse; an escape it does not know is kept as written.
QString unescapeKeyFileText(QStringView text, std::initializer_list<EscapePair> extra = {});

} // namespace korvex
