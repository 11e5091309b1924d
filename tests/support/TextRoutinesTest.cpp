#include "support/TextRoutines.h"

#include <gtest/gtest.h>

using namespace korvex;

namespace {

struct MarkerCase {
    const char* text;
    const char* marker;
    const char* before;
    const char* after;
};

void PrintTo(const MarkerCase& c, std::ostream* os) {
    *os << c.text << " @ " << c.marker;
}

class MarkerTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(MarkerTest, BeforeAndAfter) {
    const MarkerCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    const QString marker = QString::fromUtf8(c.marker);
    EXPECT_EQ(TextBefore(text, marker), QString::fromUtf8(c.before));
    EXPECT_EQ(TextAfter(text, marker), QString::fromUtf8(c.after));
}

INSTANTIATE_TEST_SUITE_P(Table, MarkerTest,
                         ::testing::Values(MarkerCase{"a=b=c", "=", "a", "b=c"},
                                           MarkerCase{"abc", "=", "abc", "abc"},
                                           MarkerCase{"Name: KEY x", "key", "Name: ", " x"},
                                           MarkerCase{"abc", "", "abc", "abc"},
                                           MarkerCase{"", "x", "", ""},
                                           MarkerCase{"x=", "=", "x", ""}));

TEST(TextRoutines, BetweenAndElement) {
    EXPECT_EQ(
        TextBetween(QStringLiteral("<a>id=7;</a>"), QStringLiteral("ID="), QStringLiteral(";")),
        QStringLiteral("7"));
    // Without the start marker there is nothing, even though TextAfter would give the whole text.
    EXPECT_EQ(TextBetween(QStringLiteral("abc"), QStringLiteral("x"), QStringLiteral("c")),
              QString());
    // Without the end marker, the rest after the start.
    EXPECT_EQ(TextBetween(QStringLiteral("abc"), QStringLiteral("a"), QStringLiteral("x")),
              QStringLiteral("bc"));
    EXPECT_EQ(ElementText(QStringLiteral("<r><Ticket>T-1</TICKET></r>"), QStringLiteral("ticket")),
              QStringLiteral("T-1"));
    EXPECT_TRUE(ContainsText(QStringLiteral("JPG"), QStringLiteral("a.jpg")));
    EXPECT_FALSE(ContainsText(QString(), QStringLiteral("a.jpg")));
}

TEST(TextRoutines, ReplaceTextSearchesAgainFromTheStart) {
    EXPECT_EQ(ReplaceText(QStringLiteral("a  b   c"), QStringLiteral("  "), QStringLiteral(" ")),
              QStringLiteral("a b c"));
    // "aab" → "ab" → "b": the replacement forms a new occurrence in front of it.
    EXPECT_EQ(ReplaceText(QStringLiteral("aab"), QStringLiteral("ab"), QStringLiteral("b")),
              QStringLiteral("b"));
    EXPECT_EQ(ReplaceText(QStringLiteral("Abc"), QStringLiteral("a"), QStringLiteral("x")),
              QStringLiteral("Abc"));
}

TEST(TextRoutines, ReplaceTextRefusesCircularReplacement) {
    try {
        ReplaceText(QStringLiteral("a.b"), QStringLiteral("."), QStringLiteral(".."));
        FAIL() << "no error";
    } catch (const EXFunctionError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Circular replacement error"));
    }
}

TEST(TextRoutines, RemoveAndReplaceCharacters) {
    EXPECT_EQ(RemoveText(QStringLiteral("aabb"), QStringLiteral("ab")), QString());
    EXPECT_EQ(ReplaceChar(QStringLiteral("a/b/c"), u'/', u'\\'), QStringLiteral("a\\b\\c"));
    EXPECT_EQ(ReplaceCharByText(QStringLiteral("a b c"), u' ', QString()), QStringLiteral("abc"));
    EXPECT_EQ(DeleteLeft(QStringLiteral("abc"), 1), QStringLiteral("bc"));
    EXPECT_EQ(DeleteLeft(QStringLiteral("abc"), -1), QStringLiteral("abc"));
    EXPECT_EQ(KeepLeft(QStringLiteral("abc"), 2), QStringLiteral("ab"));
    EXPECT_EQ(KeepLeft(QStringLiteral("abc"), 9), QStringLiteral("abc"));
}

struct SplitCase {
    const char* text;
    bool keepEmpty;
    QStringList pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.text << (c.keepEmpty ? " keep" : "");
}

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, Pieces) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitText(QString::fromUtf8(c.text), u'#', c.keepEmpty), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitTest,
    ::testing::Values(SplitCase{"a#b##c", false, {"a", "b", "c"}},
                      SplitCase{"a#b##c", true, {"a", "b", "", "c"}}, SplitCase{"", true, {}},
                      SplitCase{"#", true, {}},
                      SplitCase{"say \"\"hi\"\"#x", false, {"say \"hi\"", "x"}},
                      SplitCase{"#a#", true, {"", "a", ""}}, SplitCase{"abc", false, {"abc"}}));

TEST(TextRoutines, BooleanTexts) {
    EXPECT_EQ(BoolToText(true), QStringLiteral("True"));
    EXPECT_EQ(BoolToText(false), QStringLiteral("False"));
    EXPECT_TRUE(TextToBoolDef(QStringLiteral("tRUE"), false));
    EXPECT_FALSE(TextToBoolDef(QStringLiteral("FALSE"), true));
    EXPECT_TRUE(TextToBoolDef(QStringLiteral("yes"), true));
    EXPECT_FALSE(TextToBoolDef(QString(), false));
    EXPECT_TRUE(TextToBool(QStringLiteral("true")));
    try {
        TextToBool(QStringLiteral("1"));
        FAIL() << "no error";
    } catch (const EXFunctionError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Not a boolean string"));
    }
}

TEST(TextRoutines, SmallChoices) {
    EXPECT_EQ(IfEmpty(QString(), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(IfEmpty(QStringLiteral("t"), QStringLiteral("d")), QStringLiteral("t"));
    EXPECT_EQ(TextIf(QStringLiteral("t"), false), QString());
    EXPECT_EQ(IfThenText(true, QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("a"));
    EXPECT_EQ(IfThenInt(false, 1, 2), 2);
    EXPECT_EQ(IMax(-3, 2), 2);
    EXPECT_EQ(IMin(-3, 2), -3);
}

struct RoundCase {
    qint64 a;
    qint64 b;
    qint64 percentOf; // PercentOf(a, b)
    int percentage;   // Percentage(a, b)
};

void PrintTo(const RoundCase& c, std::ostream* os) {
    *os << c.a << ", " << c.b;
}

class RoundingTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundingTest, HalvesGoToEven) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(PercentOf(c.a, c.b), c.percentOf);
    EXPECT_EQ(Percentage(c.a, c.b), c.percentage);
}

INSTANTIATE_TEST_SUITE_P(Table, RoundingTest,
                         ::testing::Values(RoundCase{50, 1, 0, 5000},   // 0.5 → 0
                                           RoundCase{150, 1, 2, 15000}, // 1.5 → 2
                                           RoundCase{250, 1, 2, 25000}, // 2.5 → 2
                                           RoundCase{1, 8, 0, 12},      // 12.5 → 12
                                           RoundCase{3, 8, 0, 38},      // 37.5 → 38
                                           RoundCase{2, 3, 0, 67},      // 66.67 → 67
                                           RoundCase{-250, 1, -2, -25000},
                                           RoundCase{7, 0, 0, 0}, // zero whole
                                           RoundCase{200, 35, 70, 571}));

TEST(TextRoutines, URLEncodeExactByteSet) {
    EXPECT_EQ(URLEncode(QStringLiteral("a b#c%d*e+f<g>h")),
              QStringLiteral("a%20b%23c%25d%2Ae%2Bf%3Cg%3Eh"));
    // Everything else printable stays, "&", "=", "/" and "?" included.
    EXPECT_EQ(URLEncode(QStringLiteral("x=1&y=/p?q~_.-")), QStringLiteral("x=1&y=/p?q~_.-"));
    EXPECT_EQ(URLEncode(QStringLiteral("\t\r\n")), QStringLiteral("%09%0D%0A"));
    // Non-ASCII text goes as its UTF-8 bytes.
    EXPECT_EQ(URLEncode(QStringLiteral("é")), QStringLiteral("%C3%A9"));
}

} // namespace
