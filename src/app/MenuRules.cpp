#include "MenuRules.h"

#include <QDir>

namespace korvex {

MenuStates menuStates(const MenuInputs& in) {
    const bool pictureIdle = in.currentPicture && !in.pictureLoading;
    MenuStates s{};
    s.pictureInfo = s.saveAs = s.print = s.renamePicture = pictureIdle;
    s.save = pictureIdle && in.unsavedChanges;
    s.renameFolder = in.canRenameFolder && !in.pictureLoading;
    s.undo = in.unsavedChanges && !in.pictureLoading;
    s.copy = in.pictureLoaded && !in.pictureLoading;
    s.deletePicture = in.deleteButtonEnabled && in.currentPicture;
    s.selectNone = in.checkedCount > 0;
    s.selectAll = in.pictureCount > 0;
    s.slideshow = s.fullScreen = in.pictureCount > 0;
    s.slideshowChecked = in.slideShow;
    s.fullScreenChecked = in.fullScreen;
    s.zoom = in.zoomButtonsEnabled && in.pictureLoaded && !in.slideShow;
    s.wallpaper = in.currentPicture;
    s.editButtons = in.pictureLoaded;
    return s;
}

bool CanRenameFolder(const QString& folder, const QStringList& userFolders) {
    static const QStringList system = {
        QStringLiteral("/"),     QStringLiteral("/bin"),   QStringLiteral("/boot"),
        QStringLiteral("/dev"),  QStringLiteral("/etc"),   QStringLiteral("/home"),
        QStringLiteral("/lib"),  QStringLiteral("/lib64"), QStringLiteral("/media"),
        QStringLiteral("/mnt"),  QStringLiteral("/opt"),   QStringLiteral("/proc"),
        QStringLiteral("/root"), QStringLiteral("/run"),   QStringLiteral("/sbin"),
        QStringLiteral("/srv"),  QStringLiteral("/sys"),   QStringLiteral("/tmp"),
        QStringLiteral("/usr"),  QStringLiteral("/var"),
    };
    if (folder.trimmed().isEmpty())
        return false;
    // Linux folder names keep their case, so "/USR" is an ordinary folder; trailing slashes and
    // "." or ".." parts are not.
    const QString clean = QDir::cleanPath(folder.trimmed());
    if (system.contains(clean))
        return false;
    for (const QString& user : userFolders)
        if (!user.isEmpty() && QDir::cleanPath(user) == clean)
            return false;
    return true;
}

} // namespace korvex
