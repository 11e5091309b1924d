#pragma once

#include "AppFolders.h"
#include "Settings.h"

namespace korvex {

// What the program entry creates once and hands to the window of the run mode: the product
// names, the folders and the settings held in memory.
struct AppContext {
    explicit AppContext(const QString& executableFolder)
        : folders(executableFolder, names.company, names.product) {}

    ProductNames names;
    AppFolders folders;
    Settings settings;

    // A file of the installed program data (artwork, help, guide pages).
    QString dataFile(const QString& relative) const {
        return folders.GetFolder(FolderKind::Installation) + relative;
    }
    // The card monitor's start-up entry of the desktop session.
    static QString monitorAutostartFile();
};

} // namespace korvex
