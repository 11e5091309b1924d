#pragma once

#include <QString>

namespace korvex {

// How this process runs, decided once from the executable's extension and its first arguments.
enum class RunMode : quint8 {
    _setpwd = 0,
    _preview = 1,
    _CONFIG = 2,
    _Application = 3,
    _screensaver = 4,
    _about = 5,
};

// The screen-saver host's classification of argument 1 (later rules override earlier ones).
RunMode classifyScreenSaverArgument(const QString& argument1);

// What the program entry does before any window exists.
enum class EntryAction {
    Monitor,   // "/MONITOR": start the card monitor, turn camera use on, end
    CameraOff, // "/CAMOFF": turn camera use off, remove the monitor's autostart entry, end
    RunMode,   // go on in the returned mode
};

struct EntryDecision {
    EntryAction action = EntryAction::RunMode;
    RunMode mode = RunMode::_Application;
};

// executableName is the file name the process was started under ("korvex" or "korvex.scr").
EntryDecision decideEntry(const QString& executableName, const QString& argument1);

// "/UNINSTALL" is a request of the main window's start-up, so it must reach application mode.
bool isUninstallSwitch(const QString& argument1);

} // namespace korvex
