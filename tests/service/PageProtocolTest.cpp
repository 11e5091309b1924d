#include "service/PageProtocol.h"

#include "TestEnvironment.h"
#include "service/ResultDocument.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

QStringList lines(const char* text) {
    return QString::fromUtf8(text).split(u'\n');
}

QStringList page(const QString& name) {
    QFile f(korvex::test::dataDir() + QStringLiteral("/service/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    QString text = QString::fromUtf8(f.readAll());
    text.remove(u'\r');
    return text.split(u'\n');
}

// The wizard's controls as plain state.
struct Controls : WizardControls {
    QMap<WebControl, WebButtonState> buttons;
    QMap<WebControl, QString> captions;
    WebButtonState help2;
    WebControl focused = WebControl::Cancel;
    bool focusSet = false;

    void hideControl(WebControl c) override {
        buttons[c].visible = false;
        captions.remove(c);
    }
    void showCaption(WebControl c, const QString& text) override { captions[c] = text; }
    void showButton(WebControl c, const WebButtonState& s) override { buttons[c] = s; }
    WebButtonState buttonState(WebControl c) const override { return buttons.value(c); }
    void mirrorHelpButton(const WebButtonState& s) override { help2 = s; }
    bool canFocus(WebControl c) const override {
        return buttons.value(c).visible && buttons.value(c).enabled;
    }
    void setFocus(WebControl c) override {
        focused = c;
        focusSet = true;
    }
};

TEST(PageType, FirstMarkerInTheFirst21LinesDecides) {
    struct Case {
        QStringList page;
        TPageType type;
    };
    QStringList late(21, QStringLiteral("<p>"));
    late << QStringLiteral("<!-- VORU_INIT_UPLOAD -->");
    QStringList lastChecked(20, QStringLiteral("<p>"));
    lastChecked << QStringLiteral("<!-- voru_init_upload -->");
    const Case cases[] = {
        {late, _ptOther},               // 22nd line
        {lastChecked, _ptFinalization}, // 21st line
        {lines("<html>\n<close-request/> VORU_INIT_UPLOAD"), _ptClosePage},
        {lines("VORU_INIT_UPLOAD\n<close-request/>"), _ptFinalization},
        {lines("<a onclick=\"NETDetectNextNavigate()\">"), _ptError},
        {lines("<a onclick=\"netdetectnextnavigate()\">"), _ptOther},
        {{}, _ptOther},
        {page(QStringLiteral("close.html")), _ptClosePage},
        {page(QStringLiteral("finalization.html")), _ptFinalization},
        {page(QStringLiteral("question.html")), _ptOther},
        {page(QStringLiteral("complete.html")), _ptOther},
        {page(QStringLiteral("progress.html")), _ptOther},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageType(c.page), c.type) << c.page.join(u'|').left(200).toStdString();
}

TEST(ProcessEmbed, ParsesTheEmbedGrammar) {
    struct Case {
        const char* line;
        TEmbedRecord expected;
    };
    const Case cases[] = {
        {R"(<EMBED name="voru_subtitle" label="Pick your prints" href="/x" Enable="true">)",
         {"VORU_SUBTITLE", "Pick your prints", "/x", "", true, false}},
        {R"(<embed name="VORU_NEXT_BUTTON" label="Go on" tiptext="Next page" disableOnClick="TRUE">)",
         {"VORU_NEXT_BUTTON", "Go", "", "Next~page", true, true}},
        {R"(<EMBED name="VORU_BACK_BUTTON" Enable="maybe" disableOnClick="yes">)",
         {"VORU_BACK_BUTTON", "", "", "", true, false}},
        {R"(<EMBED name="VORU_HELP_BUTTON" Enable="False" name="voru_back_button">)",
         {"VORU_BACK_BUTTON", "", "", "", false, false}},
        {R"(<EMBED name="VORU_TITLE" label="Two  spaces ">)",
         {"VORU_TITLE", "Two  spaces ", "", "", true, false}},
    };
    for (const Case& c : cases) {
        TEmbedRecord r;
        r.label = QStringLiteral("stale");
        ProcessEmbed(QString::fromUtf8(c.line), r);
        EXPECT_EQ(r.name, c.expected.name) << c.line;
        EXPECT_EQ(r.label, c.expected.label) << c.line;
        EXPECT_EQ(r.href, c.expected.href) << c.line;
        EXPECT_EQ(r.tiptext, c.expected.tiptext) << c.line;
        EXPECT_EQ(r.Enable, c.expected.Enable) << c.line;
        EXPECT_EQ(r.disableOnClick, c.expected.disableOnClick) << c.line;
    }
}

TEST(UpdateWebButtons, AppliesTheServicePage) {
    Controls c;
    c.buttons[WebControl::Cancel] = {true, false, QStringLiteral("keep"), 0};
    UpdateWebButtons(page(QStringLiteral("question.html")), c);
    EXPECT_EQ(c.captions.value(WebControl::Title), QStringLiteral("Choose your pictures"));
    EXPECT_EQ(c.captions.value(WebControl::SubTitle),
              QStringLiteral("Step 1 of 2: name your album"));
    const WebButtonState next = c.buttons.value(WebControl::Next);
    EXPECT_TRUE(next.visible);
    EXPECT_EQ(next.tooltip, QStringLiteral("Go to the next step"));
    EXPECT_EQ(next.tag, DisableOnClickTag);
    EXPECT_TRUE(c.buttons.value(WebControl::Help).visible);
    EXPECT_TRUE(c.buttons.value(WebControl::Back).visible);
    EXPECT_FALSE(c.buttons.value(WebControl::Back).enabled);
    EXPECT_EQ(c.help2.tooltip, c.buttons.value(WebControl::Help).tooltip);
    EXPECT_TRUE(c.focusSet);
    EXPECT_EQ(c.focused, WebControl::Next);
    // Embeds after the end marker are not applied.
    EXPECT_FALSE(c.buttons.value(WebControl::Finish).visible);
}

TEST(UpdateWebButtons, PageWithoutEmbedsHidesAllButCancel) {
    Controls c;
    c.buttons[WebControl::Next] = {true, true, {}, 0};
    c.buttons[WebControl::Cancel] = {true, false, QStringLiteral("keep"), 0};
    c.captions[WebControl::Title] = QStringLiteral("old");
    UpdateWebButtons(lines("<html><body>nothing</body></html>"), c);
    for (const WebControl w :
         {WebControl::Back, WebControl::Next, WebControl::Finish, WebControl::Help})
        EXPECT_FALSE(c.buttons.value(w).visible);
    EXPECT_TRUE(c.captions.isEmpty());
    EXPECT_EQ(c.buttons.value(WebControl::Cancel).tooltip, QStringLiteral("keep"));
    EXPECT_FALSE(c.focusSet);
}

TEST(UpdateWebButtons, UnknownEmbedDoesNotEndTheScan) {
    Controls c;
    UpdateWebButtons(lines("<EMBED name=\"OTHER\"> CLIENT EMBED CODE END\n"
                           "<EMBED name=\"VORU_FINISH_BUTTON\" tiptext=\"Send them\">"),
                     c);
    EXPECT_TRUE(c.buttons.value(WebControl::Finish).visible);
    EXPECT_EQ(c.buttons.value(WebControl::Finish).tooltip, QStringLiteral("Send them"));
    EXPECT_EQ(c.focused, WebControl::Finish);
}

TEST(ProcessClosePage, OpensTheNamedWindow) {
    Settings s;
    s.AppServer = QStringLiteral("site.test");
    QList<QUrl> opened;
    const auto launch = [&](const QUrl& u) {
        opened << u;
        return true;
    };
    EXPECT_EQ(ProcessClosePage(page(QStringLiteral("close.html")), s, launch),
              QStringLiteral("http://site.test/client/thanks.jsp?order=1"));
    EXPECT_EQ(ProcessClosePage(lines("<NEW-WINDOW SRC=\"http://other.test/a\"/>"), s, launch),
              QStringLiteral("http://other.test/a"));
    EXPECT_EQ(ProcessClosePage(lines("<close-request/>"), s, launch), QString());
    EXPECT_EQ(opened.size(), 2);
}

TEST(ProcessFinalizationPage, CutsTheResultBlock) {
    QStringList out{QStringLiteral("untouched")};
    EXPECT_FALSE(ProcessFinalizationPage(
        lines("<p>\n<minibrowser-result><ticket>T</ticket></minibrowser-result>\n<p>"), out));
    EXPECT_EQ(out, QStringList{QStringLiteral("untouched")});
    EXPECT_FALSE(ProcessFinalizationPage(lines("<p>no block</p>"), out));
    EXPECT_TRUE(ProcessFinalizationPage(
        lines("<p>\n<MINIBROWSER-RESULT>\n&lt;ticket>T&lt;/ticket>\n</minibrowser-result>\n<p>"),
        out));
    EXPECT_EQ(out, lines("<MINIBROWSER-RESULT>\n<ticket>T</ticket>\n</minibrowser-result>"));

    QStringList buffer = page(QStringLiteral("finalization.html"));
    EXPECT_TRUE(ProcessFinalizationPage(buffer, buffer));
    EXPECT_TRUE(buffer.first().contains(QStringLiteral("<minibrowser-result>")));
    EXPECT_TRUE(buffer.last().contains(QStringLiteral("</minibrowser-result>")));
}

class ResultDocumentTest : public ::testing::Test {
protected:
    bool read(const QStringList& block) {
        return ReadResultDocument(
            block, ticket, result, list,
            [](const QString& id) { return QStringLiteral("/pics/") + id; }, error);
    }
    QString ticket = QStringLiteral("old ticket");
    TResultDocument result;
    QList<TUploadFileRecord> list;
    QString error;
};

TEST_F(ResultDocumentTest, ReadsTheServicePage) {
    QStringList block;
    ASSERT_TRUE(ProcessFinalizationPage(page(QStringLiteral("finalization.html")), block));
    ASSERT_TRUE(read(block)) << error.toStdString();
    EXPECT_EQ(ticket, QStringLiteral("TK-1"));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].ID, QStringLiteral("im0001"));
    EXPECT_EQ(list[0].path, QStringLiteral("/pics/im0001"));
    EXPECT_EQ(list[0].title, QStringLiteral("Beach"));
    EXPECT_EQ(list[0].subject, QStringLiteral("Beach 2026-07-01"));
    EXPECT_EQ(list[0].albumID, QStringLiteral("A1"));
    EXPECT_EQ(list[0].albumName, QStringLiteral("My pictures"));
    EXPECT_EQ(list[0].attributes, QStringLiteral("size=4x6#copies=1"));
    EXPECT_EQ(list[0].status, TUploadFileRecord::StatusPending);
    EXPECT_EQ(list[1].ID, QStringLiteral("im0002")) << "written with the entity for <";
    EXPECT_EQ(list[1].title, QStringLiteral("Dunes"));
    EXPECT_EQ(result.completionAddress, QStringLiteral("/client/complete.jsp"));
    EXPECT_EQ(result.completionParameters, QStringLiteral("&order=1&mode=orderupload"));
    EXPECT_EQ(result.progressAddress, QStringLiteral("/client/progress.jsp"));
}

TEST_F(ResultDocumentTest, GrammarCases) {
    ASSERT_TRUE(read(lines(R"(<minibrowser-result>
<TICKET><![CDATA[C-9]]></TICKET>
<image id="a"><title>T1</title><attribute name="only"/><attribute a="1" b="2" c="3"/>
<attribute n="k" v="v"/></image>
<image id="a"/>
<image id="a"><album id="X" name="N"></album><title>lost</title></image>
<on-termination href="http://done"/><attribute n="z" v="1"/>
</minibrowser-result>)")));
    EXPECT_EQ(ticket, QStringLiteral("C-9"));
    ASSERT_EQ(list.size(), 2) << "an empty image element creates no record";
    EXPECT_EQ(list[0].title, QStringLiteral("T1"));
    EXPECT_EQ(list[0].attributes, QStringLiteral("k=v"));
    EXPECT_EQ(list[1].albumID, QStringLiteral("X"));
    EXPECT_TRUE(list[1].title.isEmpty()) << "a start-tag album ends the image context";
    EXPECT_EQ(result.completionParameters, QStringLiteral("&z=1"));
}

TEST_F(ResultDocumentTest, MissingAttributesStopTheReadingButKeepTheRecords) {
    EXPECT_FALSE(read(lines("<minibrowser-result>\n<image id=\"a\"></image>\n<image>\n"
                            "</image></minibrowser-result>")));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(list.size(), 1);
    EXPECT_TRUE(ticket.isEmpty()) << "cleared before reading";
    error.clear();
    EXPECT_FALSE(read(lines("<r>\n<on-termination/>\n</r>")));
    EXPECT_FALSE(read(lines("<r>\n<progress-window></progress-window>\n</r>")));
}

TEST_F(ResultDocumentTest, BrokenXmlYieldsWhatWasRead) {
    EXPECT_TRUE(read(lines("<r>\n<image id=\"a\"><title>x</title></image>\n<image id=\"b\">")));
    EXPECT_EQ(list.size(), 2);
    list.clear();
    QStringList mismatched(40, QStringLiteral("<image id=\"a\"><title>kept</title></image>"));
    mismatched.prepend(QStringLiteral("<r>"));
    mismatched << QStringLiteral("<image id=\"b\"></oops><image id=\"c\"></image></r>");
    EXPECT_TRUE(read(mismatched));
    ASSERT_GE(list.size(), 40);
    EXPECT_EQ(list.first().title, QStringLiteral("kept"));
    EXPECT_TRUE(std::none_of(list.cbegin(), list.cend(),
                             [](const TUploadFileRecord& r) { return r.ID == u'c'; }));
}

} // namespace
