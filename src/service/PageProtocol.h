#pragma once

#include "app/Settings.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace korvex {

enum TPageType { _ptOther = 0, _ptClosePage = 1, _ptFinalization = 2, _ptError = 10 };

// One client embed tag of a service page.
struct TEmbedRecord {
    QString name; // upper case
    QString label;
    QString href;
    QString tiptext;
    bool Enable = true;
    bool disableOnClick = false;
};

// A button whose tag holds this value disables itself when clicked.
inline constexpr int DisableOnClickTag = 666;

// The wizard's own controls that a page steers. Title and SubTitle stand for the caption pair of
// both wizard pages; Help for the web page's help anchor (the transfer page mirrors it).
enum class WebControl { Title, SubTitle, Back, Next, Finish, Help, Cancel };

struct WebButtonState {
    bool visible = false;
    bool enabled = true;
    QString tooltip;
    int tag = 0;
};

class WizardControls {
public:
    virtual ~WizardControls() = default;
    virtual void hideControl(WebControl control) = 0;
    virtual void showCaption(WebControl caption, const QString& text) = 0;
    virtual void showButton(WebControl button, const WebButtonState& state) = 0;
    virtual WebButtonState buttonState(WebControl button) const = 0;
    // The transfer page's help button takes the web page's help anchor state.
    virtual void mirrorHelpButton(const WebButtonState& state) = 0;
    // True when the button is visible, enabled and on the page being shown.
    virtual bool canFocus(WebControl button) const = 0;
    virtual void setFocus(WebControl button) = 0;
};

// The page element a wizard button clicks, e.g. "VORU_NEXT_BUTTON_ANCHOR"; empty for captions.
QString AnchorName(WebControl control);

TPageType PageType(const QStringList& lines);
void ProcessEmbed(const QString& line, TEmbedRecord& record);
void UpdateWebButtons(const QStringList& lines, WizardControls& controls);

// Opens the window a close page asks for through the launcher (the desktop's "open"); returns the
// address opened, empty when the page names none.
QString ProcessClosePage(const QStringList& lines, const Settings& settings,
                         const std::function<bool(const QUrl&)>& launch);

// Warning shown when a finalization page carries no usable result block.
inline constexpr char FinalizationReadError[] = "Error obtaining upload data: XML read error";

// Cuts the result block out of a finalization page into out. A block of fewer than three lines is
// refused (false); the caller then shows FinalizationReadError.
bool ProcessFinalizationPage(const QStringList& lines, QStringList& out);

} // namespace korvex
