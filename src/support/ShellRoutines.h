#pragma once

#include <QString>

namespace korvex {

class Prompter;

enum class ShellVerb { Open = 0, Print = 1, Explore = 2 };

// Opens (prints, shows the folder of) file: an executable runs with parameters, anything else
// goes to the desktop's handler for its type or URL scheme. With an empty file the parameters
// name the file. True when the launch was accepted.
bool ShellLaunch(ShellVerb verb, const QString& file, const QString& parameters);
bool ShellOpen(const QString& file, const QString& parameters);
// Opens address in the web browser; a failure is shown as a warning through the prompter.
bool OpenInBrowser(const QString& address, Prompter* prompter = nullptr);

// The user's folder of a shell-folder name ("APPDATA", "LOCAL APPDATA", "MY PICTURES",
// "MY MUSIC", "MY VIDEO", "PERSONAL", "DESKTOP", "STARTUP", "TEMPLATES", "FONTS", "CACHE"; any
// case), without a trailing "/"; empty for an unknown name.
QString GetShellFolder(const QString& name);

// The file operations work on ";"-separated lists. from may use wildcards in its file names. to
// is one destination folder (created when missing), one new name for a single source, or one
// name per source. Folders move and copy with their content; times and permissions are kept.
// There is no progress display. Questions (replace an existing file, confirm a delete) go through
// the prompter; without one they count as declined.

enum ShellResult { ShellDone = 1, ShellAborted = 3, ShellFailed = 7 };

// Asks before replacing an existing file; declining skips that file and the result is
// ShellAborted. The first failure ends the operation with ShellFailed.
int ShellMoveOrCopy(const QString& from, const QString& to, bool move,
                    Prompter* prompter = nullptr);

// Files only where wildcards are used. With renameOnCollision a colliding copy gets a free name
// (UniqueFileName); otherwise it replaces the existing file, asking first unless noConfirm.
bool ShellCopy(const QString& from, const QString& to, bool renameOnCollision, bool noConfirm,
               Prompter* prompter = nullptr);
// As ShellCopy, but the last argument asks for confirmation rather than suppressing it.
bool ShellMove(const QString& from, const QString& to, bool renameOnCollision, bool confirm,
               Prompter* prompter = nullptr);

// Deletes the listed files: to the trash with recycle, for good otherwise; with confirm the user is
// asked first. A file the trash cannot take is deleted for good only when the user agrees.
// silent is accepted for the callers' sake; nothing shows progress here.
bool ShellDelete(const QString& files, bool recycle, bool confirm, bool silent,
                 Prompter* prompter = nullptr);

} // namespace korvex
