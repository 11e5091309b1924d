#include "KeyFileEscape.h"

namespace korvex {

namespace {

constexpr EscapePair kAlways[] = {{u'\\', u'\\'}, {u'\n', u'n'}, {u'\r', u'r'}};

template <typename Match>
const EscapePair* find(std::initializer_list<EscapePair> extra, Match match) {
    for (const EscapePair& p : kAlways)
        if (match(p))
            return &p;
    for (const EscapePair& p : extra)
        if (match(p))
            return &p;
    return nullptr;
}

} // namespace

QString escapeKeyFileText(QStringView text, std::initializer_list<EscapePair> extra) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const EscapePair* p = find(extra, [c](const EscapePair& e) { return c == e.character; });
        if (p) {
            out += u'\\';
            out += QChar(p->letter);
        } else {
            out += c;
        }
    }
    return out;
}

QString unescapeKeyFileText(QStringView text, std::initializer_list<EscapePair> extra) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        const EscapePair* p = find(extra, [next](const EscapePair& e) { return next == e.letter; });
        if (p) {
            out += QChar(p->character);
        } else {
            out += u'\\';
            out += next;
        }
    }
    return out;
}

} // namespace korvex
