#include "RunMode.h"

#include <QFileInfo>

namespace korvex {

namespace {

bool startsWithEither(const QString& text, QStringView a, QStringView b) {
    return text.startsWith(a) || text.startsWith(b);
}

bool firstIs(const QString& text, QChar c) {
    return !text.isEmpty() && text.front() == c;
}

} // namespace

RunMode classifyScreenSaverArgument(const QString& argument1) {
    const QString a = argument1.toUpper();
    RunMode mode = RunMode::_screensaver;
    if (startsWithEither(a, u"/A", u"-A") || firstIs(a, u'A'))
        mode = RunMode::_setpwd;
    if (startsWithEither(a, u"/?", u"-?") || firstIs(a, u'?'))
        mode = RunMode::_about;
    if (startsWithEither(a, u"/P", u"-P") || firstIs(a, u'P'))
        mode = RunMode::_preview;
    if (startsWithEither(a, u"/C", u"-C") || firstIs(a, u'C') || a.isEmpty())
        mode = RunMode::_CONFIG;
    const bool drivePath = a.size() > 3 && a.at(1) == u':';
    const bool uncPath = a.size() > 3 && a.startsWith(u"\\\\");
    if (startsWithEither(a, u"/X", u"-X") || startsWithEither(a, u"/D", u"-D") ||
        firstIs(a, u'X') || firstIs(a, u'D') || drivePath || uncPath)
        mode = RunMode::_Application;
    // On Linux a picture path starts with "/" rather than a drive letter; it must open the
    // picture just as "C:\..." does, not start the screen saver.
    if (a.size() > 1 && a.startsWith(u'/') && a.indexOf(u'/', 1) > 0)
        mode = RunMode::_Application;
    return mode;
}

bool isUninstallSwitch(const QString& argument1) {
    return argument1.compare(u"/UNINSTALL", Qt::CaseInsensitive) == 0;
}

EntryDecision decideEntry(const QString& executableName, const QString& argument1) {
    if (argument1.compare(u"/MONITOR", Qt::CaseInsensitive) == 0)
        return {EntryAction::Monitor, RunMode::_Application};
    if (argument1.compare(u"/CAMOFF", Qt::CaseInsensitive) == 0)
        return {EntryAction::CameraOff, RunMode::_Application};
    const bool scr = executableName.endsWith(u".scr", Qt::CaseInsensitive);
    const bool appArgument = argument1.isEmpty() ||
                             argument1.contains(u"/CAM:", Qt::CaseInsensitive) ||
                             argument1.compare(u"/SETTINGS", Qt::CaseInsensitive) == 0;
    if (appArgument && !scr)
        return {EntryAction::RunMode, RunMode::_Application};
    // "/UNINSTALL" and a picture named by a relative path would otherwise fall to the
    // screen-saver rules.
    if (!scr && (isUninstallSwitch(argument1) || QFileInfo(argument1).isFile()))
        return {EntryAction::RunMode, RunMode::_Application};
    return {EntryAction::RunMode, classifyScreenSaverArgument(argument1)};
}

} // namespace korvex
