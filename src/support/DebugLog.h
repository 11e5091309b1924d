#pragma once

#include <QString>

namespace korvex {

// The diagnostic trace support staff switch on. While debug mode is off a call costs a flag test
// and touches no file. The first logged line of a run moves "Log.txt" to "Log.old".
void DebugLog(const QString& category, const QString& message);

namespace debuglog {

// Once on, debug mode stays on for the rest of the run.
void enable();
bool enabled();

// The folder of "Log.txt" and "Log.old": the executable's folder when it is writable, otherwise
// the per-user data folder. Set once by the program entry; tests point it elsewhere.
void setFolder(const QString& folder);
QString folder();

// Starts a new run: the next logged line rotates the files again (for tests).
void resetForTest();

} // namespace debuglog
} // namespace korvex
