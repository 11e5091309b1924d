#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// What the menus need to know when they open.
struct MenuInputs {
    bool currentPicture = false; // a picture is chosen
    bool pictureLoaded = false;  // and shown in the view
    bool pictureLoading = false;
    bool unsavedChanges = false;
    bool canRenameFolder = false;
    bool deleteButtonEnabled = false;
    int pictureCount = 0;
    int checkedCount = 0;
    bool slideShow = false;
    bool fullScreen = false;
    bool zoomButtonsEnabled = false;
};

struct MenuStates {
    bool pictureInfo, saveAs, print, renamePicture, save, renameFolder;
    bool undo, copy, deletePicture, selectNone, selectAll;
    bool slideshow, fullScreen, zoom, wallpaper;
    bool slideshowChecked, fullScreenChecked;
    bool editButtons; // rotate, quick fix, red-eye, crop and zoom on the toolbar
};

MenuStates menuStates(const MenuInputs& in);

// Whether a folder may be renamed: never the system's folders or the user's special ones.
// userFolders are the home, desktop, pictures and documents folders of this user.
bool CanRenameFolder(const QString& folder, const QStringList& userFolders);

} // namespace korvex
