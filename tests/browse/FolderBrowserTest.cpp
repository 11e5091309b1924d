#include "browse/FolderBrowser.h"

#include "../support/FakePrompter.h"
#include "BrowseFixtures.h"
#include "TestEnvironment.h"
#include "browse/ui/RecentFoldersMenu.h"
#include "browse/ui/XCheckThumbGrid.h"
#include "imaging/DecodeQueue.h"
#include "imaging/IEFunctions.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

class FolderBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setAttachedListBox(&browser.fileList());
        browser.attachGrid(&grid);
        grid.resize(400, 300);
    }
    static QString folderWith(int pictures, const QString& hint = QStringLiteral("f")) {
        const QString dir = makeTempDir(hint);
        writePictures(dir, pictures);
        return dir;
    }

    FakePrompter prompter;
    FolderBrowser browser{QStringLiteral("Corvanta Express"), &prompter};
    TIEFunctions functions;
    DecodeQueue queue;
    TXCheckThumbGrid grid{functions, queue};
};

} // namespace

TEST_F(FolderBrowserTest, OpeningAFolderListsItsJpegsUncheckedAndShowsTheStatus) {
    const QString dir = folderWith(12);
    QSignalSpy status(&browser, &FolderBrowser::statusChanged);
    QSignalSpy caption(&browser, &FolderBrowser::captionChanged);
    QSignalSpy show(&browser, &FolderBrowser::showImageRequested);
    EXPECT_TRUE(browser.Change2Directory(dir));
    EXPECT_EQ(browser.GetCurrentFolder(), dir + u'/');
    EXPECT_EQ(QDir::currentPath(), dir);
    ASSERT_EQ(browser.fileList().count(), 12);
    EXPECT_EQ(browser.fileList().item(0), u';' + dir + QStringLiteral("/pic00.jpg"));
    EXPECT_EQ(show.size(), 1);
    EXPECT_TRUE(caption.contains(QVariantList{QStringLiteral("Corvanta Express - ") + dir + u'/'}));
    SelectStatus s = browser.doselectstatus();
    EXPECT_EQ(s.positionText, QStringLiteral("Image 1 of 12"));
    EXPECT_EQ(s.selectionText, QStringLiteral("No pictures selected"));
    EXPECT_TRUE(s.deleteEnabled && s.picturesEnabled && s.nextEnabled);
    EXPECT_FALSE(s.previousEnabled);
    browser.setScreenWidth(800);
    EXPECT_EQ(browser.doselectstatus().positionText, QStringLiteral("1 of 12"));
    for (int i : {2, 5, 7})
        grid.ToggleCheck(i);
    EXPECT_EQ(browser.doselectstatus().selectionText, QStringLiteral("Selected: 3 of 12"));
    browser.mkDeselectallClick();
    EXPECT_EQ(browser.fileList().CheckedCount(), 0);
    browser.btnSelectAllClick();
    EXPECT_EQ(browser.fileList().CheckedCount(), 12);
}

TEST_F(FolderBrowserTest, AnEmptyFolderDisablesThePictureCommandsAndNamesTheFolder) {
    const QString dir = makeTempDir(QStringLiteral("empty"));
    QSignalSpy caption(&browser, &FolderBrowser::captionChanged);
    EXPECT_FALSE(browser.Change2Directory(dir));
    const SelectStatus s = browser.doselectstatus();
    EXPECT_FALSE(s.picturesEnabled || s.deleteEnabled || s.nextEnabled || s.previousEnabled);
    EXPECT_EQ(caption.last().at(0).toString(),
              QStringLiteral("Corvanta Express - Folder: ") + dir + u'/');
    EXPECT_TRUE(browser.recentFolders().folders().isEmpty());
}

TEST_F(FolderBrowserTest, OnlyJpegExtensionsInAnyCaseAreListedSortedWithoutCase) {
    const QString dir = makeTempDir(QStringLiteral("mixed"));
    for (const char* name : {"b.JPG", "A.jpeg", "c.jpe", "d.png", "e.jpg.txt"})
        QFile(dir + u'/' + QLatin1String(name)).open(QIODevice::WriteOnly);
    QDir(dir).mkdir(QStringLiteral("sub.jpg"));
    ASSERT_TRUE(browser.Updatecurrentdirectory(dir, false, false, true));
    EXPECT_EQ(browser.fileList().items(), (QStringList{u';' + dir + QStringLiteral("/A.jpeg"),
                                                       u';' + dir + QStringLiteral("/b.JPG"),
                                                       u';' + dir + QStringLiteral("/c.jpe")}));
}

TEST_F(FolderBrowserTest, ReListingTheSameFolderKeepsChecksAndTheCurrentPicture) {
    const QString dir = folderWith(5);
    browser.Change2Directory(dir);
    grid.ToggleCheck(0);
    grid.ToggleCheck(3);
    grid.SelectIndex(3);
    // A rename behind the list's back; the others keep their marks.
    ASSERT_TRUE(QFile::rename(dir + QStringLiteral("/pic01.jpg"), dir + QStringLiteral("/zz.jpg")));
    EXPECT_TRUE(browser.Updatecurrentdirectory(dir, false, false, true));
    EXPECT_EQ(browser.fileList().CheckedPaths(), (QStringList{dir + QStringLiteral("/pic00.jpg"),
                                                              dir + QStringLiteral("/pic03.jpg")}));
    EXPECT_EQ(grid.currentIndex(), 3);
    // Another folder and back: a new visit starts unchecked at the first picture.
    browser.Change2Directory(folderWith(2));
    browser.Change2Directory(dir);
    EXPECT_EQ(browser.fileList().CheckedCount(), 0);
    EXPECT_EQ(grid.currentIndex(), 0);
}

TEST_F(FolderBrowserTest, AMissingFolderIsReportedLeavesTheRecentListAndKeepsThePrevious) {
    const QString dir = folderWith(2);
    const QString gone = folderWith(1, QStringLiteral("gone"));
    browser.Change2Directory(gone);
    browser.Change2Directory(dir);
    ASSERT_EQ(browser.recentFolders().folders().size(), 2);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    EXPECT_FALSE(browser.LoadDirectory(gone, -1));
    EXPECT_EQ(prompter.messages,
              QStringList{QStringLiteral("The folder, %1, could not be found.").arg(gone)});
    EXPECT_EQ(browser.GetCurrentFolder(), dir + u'/');
    EXPECT_EQ(browser.recentFolders().folders(), QStringList{dir + u'/'});
    // Quietly at start-up.
    prompter.messages.clear();
    EXPECT_FALSE(browser.Updatecurrentdirectory(gone, false, true, false));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(FolderBrowserTest, RecentFoldersKeepTenMostRecentFirstAndSurviveARestart) {
    QStringList opened;
    for (int i = 0; i < 11; ++i) {
        opened.prepend(folderWith(1, QStringLiteral("r%1").arg(i)) + u'/');
        browser.Change2Directory(opened.first());
    }
    EXPECT_EQ(browser.recentFolders().folders(), opened.mid(0, 10));
    browser.Change2Directory(opened[5]);
    EXPECT_EQ(browser.recentFolders().folders().first(), opened[5]);
    EXPECT_EQ(browser.recentFolders().folders().size(), 10);

    const QString file = makeTempDir() + QStringLiteral("/recent.dat");
    ASSERT_TRUE(browser.recentFolders().save(file));
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().startsWith((opened[5] + QStringLiteral("\r\n")).toUtf8()));
    RecentFolders again;
    again.load(file);
    EXPECT_EQ(again.folders(), browser.recentFolders().folders());
    again.load(file + QStringLiteral(".missing"));
    EXPECT_TRUE(again.folders().isEmpty());
}

TEST_F(FolderBrowserTest, ABatchCommandOffersToCheckEverythingWhenNothingIsChecked) {
    browser.Change2Directory(folderWith(3));
    prompter.answer = false;
    EXPECT_FALSE(browser.HasCheckSelection());
    EXPECT_EQ(browser.fileList().CheckedCount(), 0);
    prompter.answer = true;
    EXPECT_TRUE(browser.HasCheckSelection());
    EXPECT_EQ(browser.fileList().CheckedCount(), 3);
    EXPECT_EQ(prompter.questions.size(), 2);
    EXPECT_TRUE(browser.HasCheckSelection()); // no question once something is checked
    EXPECT_EQ(prompter.questions.size(), 2);
}

TEST_F(FolderBrowserTest, APictureGivenToTheProgramOpensItsFolderAndBecomesCurrent) {
    const QString dir = folderWith(4);
    const QString picture = dir + QStringLiteral("/pic02.jpg");
    QSignalSpy file(&browser, &FolderBrowser::currentFileChanged);
    EXPECT_TRUE(browser.showFile(picture));
    EXPECT_EQ(browser.currentPicture(), picture);
    EXPECT_EQ(grid.currentIndex(), 2);
    EXPECT_EQ(file.last().at(1).toString(), QStringLiteral("pic02"));
    EXPECT_EQ(browser.doselectstatus().positionText, QStringLiteral("Image 3 of 4"));
    // Dropped from a file manager: a folder opens, a picture is shown.
    QSignalSpy show(&browser, &FolderBrowser::showImageRequested);
    const QString other = folderWith(2);
    EXPECT_TRUE(browser.dropFiles({other + QStringLiteral("/notes.txt"), other}));
    EXPECT_EQ(browser.GetCurrentFolder(), other + u'/');
    EXPECT_TRUE(browser.dropFiles({picture}));
    EXPECT_EQ(browser.GetCurrentFolder(), dir + u'/');
    EXPECT_EQ(show.size(), 2);
}

TEST_F(FolderBrowserTest, UpdateFileBoxAndPositionFollowsTheFileOrClampsTheStoredPosition) {
    const QString dir = folderWith(4);
    browser.Change2Directory(dir);
    browser.UpdateFileBoxAndPosition(dir + QStringLiteral("/pic03.jpg"), false);
    EXPECT_EQ(grid.currentIndex(), 3);
    ASSERT_TRUE(QFile::remove(dir + QStringLiteral("/pic03.jpg")));
    browser.UpdateFileBoxAndPosition(dir + QStringLiteral("/pic03.jpg"), true);
    EXPECT_EQ(grid.currentIndex(), 2);
}

TEST_F(FolderBrowserTest, FilesDroppedFromAFileManagerOpenTheirFolder) {
    const QString dir = folderWith(3);
    QWidget window;
    new FileDropTarget(browser, &window);
    EXPECT_TRUE(window.acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir + QStringLiteral("/pic01.jpg"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    EXPECT_EQ(browser.GetCurrentFolder(), dir + u'/');
    EXPECT_EQ(browser.currentPicture(), dir + QStringLiteral("/pic01.jpg"));
}
