#include "PageProtocol.h"

#include "Endpoints.h"
#include "support/DebugLog.h"
#include "support/TextRoutines.h"

#include <optional>

namespace korvex {

namespace {

// Protects the spaces of a quoted attribute value from the word split that follows.
void protectSpaces(QString& line, const QString& key) {
    const qsizetype at = line.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return;
    for (qsizetype p = at + key.size(); p < line.size() - 1 && line[p] != u'"'; ++p) {
        if (line[p] == u' ')
            line[p] = u'~';
    }
}

struct ButtonEmbed {
    const char* name;
    WebControl control;
};
constexpr ButtonEmbed buttonEmbeds[] = {
    {"VORU_BACK_BUTTON", WebControl::Back},     {"VORU_NEXT_BUTTON", WebControl::Next},
    {"VORU_FINISH_BUTTON", WebControl::Finish}, {"VORU_HELP_BUTTON", WebControl::Help},
    {"VORU_CANCEL_BUTTON", WebControl::Cancel},
};

// Applies one embed line to the controls; false when the embed names no control of the wizard.
bool applyEmbed(const QString& line, qsizetype index, WizardControls& controls) {
    const QString category = QStringLiteral("UpdateWebButtons");
    DebugLog(category, QStringLiteral("EMBED found on line %1").arg(index));
    TEmbedRecord embed;
    ProcessEmbed(line, embed);
    embed.tiptext.replace(u'~', u' ');
    DebugLog(category, QStringLiteral("EmbedType=") + embed.name);
    DebugLog(category, QStringLiteral("Text=") + embed.label);
    DebugLog(category, QStringLiteral("URL=") + embed.href);
    DebugLog(category, QStringLiteral("Hint=") + embed.tiptext);
    DebugLog(category, QStringLiteral("Enabled=") + BoolToText(embed.Enable));
    DebugLog(category, QStringLiteral("disableOnClick=") + BoolToText(embed.disableOnClick));

    if (embed.name == QStringLiteral("VORU_TITLE")) {
        controls.showCaption(WebControl::Title, embed.label);
        DebugLog(category, QStringLiteral("Showing Title ") + embed.label);
        return true;
    }
    if (embed.name == QStringLiteral("VORU_SUBTITLE")) {
        controls.showCaption(WebControl::SubTitle, embed.label);
        DebugLog(category, QStringLiteral("Showing SubTitle ") + embed.label);
        return true;
    }
    for (const ButtonEmbed& b : buttonEmbeds) {
        if (embed.name == QLatin1String(b.name)) {
            controls.showButton(b.control, {true, embed.Enable, embed.tiptext,
                                            embed.disableOnClick ? DisableOnClickTag : 0});
            return true;
        }
    }
    return false;
}

} // namespace

QString AnchorName(WebControl control) {
    switch (control) {
    case WebControl::Back:
        return QStringLiteral("VORU_BACK_BUTTON_ANCHOR");
    case WebControl::Next:
        return QStringLiteral("VORU_NEXT_BUTTON_ANCHOR");
    case WebControl::Finish:
        return QStringLiteral("VORU_FINISH_BUTTON_ANCHOR");
    case WebControl::Help:
        return QStringLiteral("VORU_HELP_BUTTON_ANCHOR");
    case WebControl::Cancel:
        return QStringLiteral("btnCancel");
    case WebControl::Title:
    case WebControl::SubTitle:
        break;
    }
    return {};
}

TPageType PageType(const QStringList& lines) {
    const QString category = QStringLiteral("PageType");
    const qsizetype last = std::min<qsizetype>(lines.size() - 1, 20);
    DebugLog(category, QStringLiteral("Start, parsing %1 lines").arg(last));
    for (qsizetype i = 0; i <= last; ++i) {
        const QString& line = lines[i];
        if (line.contains(QStringLiteral("CLOSE-REQUEST"), Qt::CaseInsensitive)) {
            DebugLog(category, QStringLiteral("Page Type is _ptClosePage"));
            return _ptClosePage;
        }
        if (line.contains(QStringLiteral("VORU_INIT_UPLOAD"), Qt::CaseInsensitive)) {
            DebugLog(category, QStringLiteral("Page Type is _ptFinalization"));
            return _ptFinalization;
        }
        if (line.contains(QStringLiteral("NETDetectNextNavigate"))) {
            DebugLog(category, QStringLiteral("Page Type is _ptError"));
            return _ptError;
        }
    }
    DebugLog(category, QStringLiteral("Page Type is _ptOther"));
    return _ptOther;
}

void ProcessEmbed(const QString& tagLine, TEmbedRecord& record) {
    QString line = tagLine;
    if ((line.contains(QStringLiteral("\"VORU_TITLE\""), Qt::CaseInsensitive) ||
         line.contains(QStringLiteral("\"VORU_SUBTITLE\""), Qt::CaseInsensitive)))
        protectSpaces(line, QStringLiteral("LABEL=\""));
    protectSpaces(line, QStringLiteral("TIPTEXT=\""));
    // The tag's closing bracket is no part of its last value: Enable="false"> must disable.
    line = line.trimmed();
    if (line.endsWith(u'>'))
        line.chop(line.endsWith(QStringLiteral("/>")) ? 2 : 1);
    line.remove(u'"');
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);

    record = TEmbedRecord();
    for (const QString& word : words) {
        const auto valueOf = [&word](const char* key) -> std::optional<QString> {
            if (!word.contains(QLatin1String(key) + u'=', Qt::CaseInsensitive))
                return std::nullopt;
            return word.mid(word.indexOf(u'=') + 1);
        };
        if (const auto v = valueOf("name"))
            record.name = v->toUpper();
        if (const auto v = valueOf("label"))
            record.label = *v;
        if (const auto v = valueOf("href"))
            record.href = *v;
        if (const auto v = valueOf("Enable"))
            record.Enable = TextToBoolDef(*v, true);
        if (const auto v = valueOf("tiptext"))
            record.tiptext = *v;
        if (const auto v = valueOf("disableOnClick"))
            record.disableOnClick = TextToBoolDef(*v, false);
    }
    record.label.replace(u'~', u' ');
    DebugLog(QStringLiteral("ProcessEmbed"), QStringLiteral("Start: ") + tagLine);
    DebugLog(QStringLiteral("ProcessEmbed"), QStringLiteral("End for ") + record.name);
}

void UpdateWebButtons(const QStringList& lines, WizardControls& controls) {
    const QString category = QStringLiteral("UpdateWebButtons");
    DebugLog(category, QStringLiteral("Start"));
    for (const WebControl c : {WebControl::Back, WebControl::Next, WebControl::Finish,
                               WebControl::Help, WebControl::Title, WebControl::SubTitle})
        controls.hideControl(c);
    DebugLog(category, QStringLiteral("Start Iteration"));

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.contains(QStringLiteral("<EMBED"), Qt::CaseInsensitive) &&
            !applyEmbed(line, i, controls))
            continue; // an unknown embed is skipped whole, end marker included
        if (line.contains(QStringLiteral("CLIENT EMBED CODE END"), Qt::CaseInsensitive)) {
            DebugLog(category, QStringLiteral("CLIENT EMBED CODE END found on line %1").arg(i));
            break;
        }
    }

    controls.mirrorHelpButton(controls.buttonState(WebControl::Help));
    if (controls.canFocus(WebControl::Next))
        controls.setFocus(WebControl::Next);
    else if (controls.canFocus(WebControl::Finish))
        controls.setFocus(WebControl::Finish);
    DebugLog(category, QStringLiteral("End"));
}

QString ProcessClosePage(const QStringList& lines, const Settings& settings,
                         const std::function<bool(const QUrl&)>& launch) {
    const QString category = QStringLiteral("ProcessClosePage");
    DebugLog(category, QStringLiteral("Start"));
    QString address;
    for (const QString& line : lines) {
        if (!line.contains(QStringLiteral("<new-window"), Qt::CaseInsensitive))
            continue;
        const QString key = QStringLiteral("src=\"");
        const qsizetype at = line.indexOf(key, 0, Qt::CaseInsensitive);
        address = at < 0 ? line : line.mid(at + key.size());
        const qsizetype quote = address.indexOf(u'"');
        if (quote >= 0)
            address.truncate(quote);
        address = ResolveWindowLink(settings, address);
        launch(QUrl(address));
        break;
    }
    DebugLog(category, QStringLiteral("End"));
    return address;
}

bool ProcessFinalizationPage(const QStringList& lines, QStringList& out) {
    const QString category = QStringLiteral("ProcessFinalizationPage");
    DebugLog(category, QStringLiteral("Start"));
    QStringList block;
    for (const QString& line : lines) {
        if (block.isEmpty() &&
            !line.contains(QStringLiteral("<minibrowser-result>"), Qt::CaseInsensitive))
            continue;
        block << line;
        if (line.contains(QStringLiteral("</minibrowser-result>"), Qt::CaseInsensitive))
            break;
    }
    const bool ok = block.size() >= 3;
    if (ok) {
        for (QString& line : block)
            line.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        out = block;
    }
    DebugLog(category, QStringLiteral("End, result=") + BoolToText(ok));
    return ok;
}

} // namespace korvex
