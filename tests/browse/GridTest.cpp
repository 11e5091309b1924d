#include "BrowseFixtures.h"
#include "TestEnvironment.h"
#include "browse/CheckList.h"
#include "browse/GridGeometry.h"
#include "browse/ui/GridArtwork.h"
#include "browse/ui/XCheckThumbGrid.h"
#include "imaging/DecodeQueue.h"
#include "imaging/IEFunctions.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        pictures = makeTempDir(QStringLiteral("pictures"));
        grid.cache().setMaxDiskCount(1000);
        grid.cache().setDiskCacheDirectory(makeTempDir(QStringLiteral("cache")));
        grid.setThumbCheckingType(_OnBottom);
        grid.setThumbError(ThumbErrorPicture());
        grid.setAttachedListBox(&list);
    }
    void open(int count) {
        QStringList items;
        for (const QString& p : writePictures(pictures, count))
            items << p; // checked, so that the reset visibly unchecks them
        list.setItems(items);
        grid.Reload(true, true, true);
    }
    // The grid is as wide as columns cells plus the 20 pixels the column rule leaves over.
    void showWithColumns(int columns, int height = 400) {
        grid.resize(columns * grid.geometry().columnWidth() + 20, height);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    QPoint inCell(int index, int x, int yFromBottom) const {
        const QRect cell = grid.cellRect(index);
        return QPoint(cell.left() + x, cell.bottom() + 1 - yFromBottom);
    }

    TIEFunctions functions;
    DecodeQueue queue;
    TCheckList list;
    TXCheckThumbGrid grid{functions, queue};
    QString pictures;
};

} // namespace

TEST_F(GridTest, OpeningAFolderUnchecksEverythingAndMakesTheFirstCurrent) {
    showWithColumns(4);
    open(3);
    EXPECT_EQ(list.CheckedCount(), 0);
    EXPECT_EQ(grid.currentIndex(), 0);
    EXPECT_EQ(grid.HighlightedCount(), 1);
    EXPECT_EQ(grid.columnCount(), 4);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.CurrentPath(), list.path(0));
}

TEST_F(GridTest, TheBottomStripTogglesTheCheckAndTheRestSelects) {
    showWithColumns(3);
    open(6);
    QSignalSpy checkUp(&grid, &TXCheckThumbGrid::checkMouseUp);
    QSignalSpy cellUp(&grid, &TXCheckThumbGrid::cellMouseUp);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, inCell(4, 40, 10));
    EXPECT_TRUE(list.isChecked(4));
    EXPECT_EQ(grid.currentIndex(), 0);
    EXPECT_EQ(checkUp.size(), 1);
    EXPECT_EQ(cellUp.size(), 0);
    // Just above the strip the click selects and leaves the check alone.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, inCell(4, 40, 31));
    EXPECT_EQ(grid.currentIndex(), 4);
    EXPECT_TRUE(list.isChecked(4));
    ASSERT_EQ(cellUp.size(), 1);
    EXPECT_EQ(cellUp.at(0).at(0).toInt(), 4);
    // The right button selects but never checks.
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, inCell(2, 40, 10));
    EXPECT_EQ(grid.currentIndex(), 2);
    EXPECT_FALSE(list.isChecked(2));
    // Beyond the last picture nothing happens.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, inCell(5, 40, 31) + QPoint(0, 200));
    EXPECT_EQ(grid.currentIndex(), 2);
}

TEST_F(GridTest, CheckHitTestsFollowTheCheckingType) {
    const GridGeometry g;
    const QRect cell(0, 0, g.columnWidth(), g.rowHeight());
    const int strip = g.rowHeight() - 10;
    struct Case {
        TThumbCheckingType type;
        bool right;
        QPoint p;
        bool toggles;
    };
    const Case cases[] = {
        {_Never, false, {10, strip}, false},
        {_Anywhere, false, {50, 5}, true},
        {_OnBottom, false, {80, strip}, true},
        {_OnBottom, false, {0, strip}, false},
        {_OnBottom, false, {50, 20}, false},
        {_OnCheck, false, {10, strip}, true},
        {_OnCheck, false, {40, strip}, false},
        {_OnCheck, true, {g.columnWidth() - 10, strip}, true},
        {_OnCheck, true, {10, strip}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(g.isCheckClick(c.type, c.right, cell, c.p), c.toggles)
            << c.type << " " << c.p.x() << "," << c.p.y();
}

TEST(GridNavigation, KeysMoveTheCurrentCellWithinThePictures) {
    // 10 pictures in 3 columns (rows of 0-2, 3-5, 6-8, 9), 2 visible rows of 3 columns.
    struct Case {
        int key, from, to;
    };
    const Case cases[] = {
        {Qt::Key_Right, 2, 3},    {Qt::Key_Left, 3, 2},   {Qt::Key_Left, 0, -1},
        {Qt::Key_Right, 9, -1},   {Qt::Key_Down, 4, 7},   {Qt::Key_Down, 7, -1},
        {Qt::Key_Down, 6, 9},     {Qt::Key_Up, 1, -1},    {Qt::Key_Up, 9, 6},
        {Qt::Key_Home, 7, 0},     {Qt::Key_End, 1, 9},    {Qt::Key_PageDown, 1, 4},
        {Qt::Key_PageDown, 8, 9}, {Qt::Key_PageUp, 5, 2}, {Qt::Key_PageUp, 1, 0},
        {Qt::Key_Space, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyNavigateTarget(c.key, c.from, 10, 3, 2, 3), c.to)
            << QKeySequence(c.key).toString().toStdString() << " from " << c.from;
    EXPECT_EQ(KeyNavigateTarget(Qt::Key_Home, -1, 0, 3, 2, 3), -1);
}

TEST_F(GridTest, ForwardedKeysSelectWithoutRaisingMouseEvents) {
    showWithColumns(3, 2 * grid.geometry().rowHeight() + 4);
    open(10);
    QSignalSpy cellUp(&grid, &TXCheckThumbGrid::cellMouseUp);
    EXPECT_TRUE(grid.KeyNavigate(Qt::Key_End));
    grid.KeyFinish(Qt::Key_End, false);
    EXPECT_EQ(grid.currentIndex(), 9);
    EXPECT_EQ(grid.HighlightedPaths(), QStringList{list.path(9)});
    EXPECT_GE(grid.topRow() + grid.visibleRowCount(), 4); // scrolled into view
    EXPECT_FALSE(grid.KeyNavigate(Qt::Key_Right));
    EXPECT_EQ(cellUp.size(), 0);
    // Keys reach the grid only through the owner unless it is told to take them itself.
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.currentIndex(), 9);
    grid.setDisableComponentKeyEventHandling(false);
    QSignalSpy keyed(&grid, &TXCheckThumbGrid::keySelected);
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.currentIndex(), 0);
    EXPECT_EQ(keyed.size(), 1);
}

TEST_F(GridTest, WheelScrollsOneRowPerNotchAndKeepsTheCurrentCell) {
    showWithColumns(2, 2 * grid.geometry().rowHeight());
    open(12);
    QWheelEvent down(QPointF(20, 20), grid.mapToGlobal(QPointF(20, 20)), {}, QPoint(0, -240),
                     Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &down);
    EXPECT_EQ(grid.topRow(), 2);
    EXPECT_EQ(grid.currentIndex(), 0);
}

TEST_F(GridTest, NarrowingFromThreeToTwoColumnsKeepsTheCurrentPictureVisible) {
    const int rowHeight = grid.geometry().rowHeight();
    showWithColumns(3, 2 * rowHeight + 4);
    open(12);
    grid.SelectIndex(5);
    EXPECT_EQ(grid.topRow(), 0);
    grid.resize(2 * grid.geometry().columnWidth() + 20, 2 * rowHeight + 4);
    QApplication::processEvents();
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.currentIndex(), 5);
    EXPECT_EQ(grid.HighlightedPaths(), QStringList{list.path(5)});
    const int row = 5 / 2;
    EXPECT_GE(row, grid.topRow());
    EXPECT_LT(row, grid.topRow() + grid.visibleRowCount());
}

TEST_F(GridTest, ReloadWithoutResetKeepsChecksAndTheCurrentCell) {
    showWithColumns(3);
    open(5);
    grid.ToggleCheck(1);
    grid.ToggleCheck(3);
    grid.SelectIndex(4);
    grid.Reload(false, false, false);
    EXPECT_EQ(list.CheckedPaths(), (QStringList{list.path(1), list.path(3)}));
    EXPECT_EQ(grid.currentIndex(), 4);
    grid.Reload(true, true, true);
    EXPECT_EQ(list.CheckedCount(), 0);
    EXPECT_EQ(grid.currentIndex(), 0);
    EXPECT_FALSE(grid.ToggleCheck(17)); // an item that has gone away is ignored
}

TEST(GridCaption, ALongCaptionEndsInTwoDotsButKeepsOneCharacter) {
    const QFontMetrics metrics(QApplication::font());
    const QString name = QStringLiteral("a rather long picture name.jpg");
    EXPECT_EQ(FitCaption(metrics, QStringLiteral("a.jpg"), 200), QStringLiteral("a.jpg"));
    const QString fitted = FitCaption(metrics, name, metrics.horizontalAdvance(name) / 2);
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("..")));
    EXPECT_TRUE(name.startsWith(fitted.chopped(2)));
    EXPECT_LE(metrics.horizontalAdvance(fitted), metrics.horizontalAdvance(name) / 2);
    EXPECT_EQ(FitCaption(metrics, name, 1), QStringLiteral("a.."));
    const QString minimized = MinimizeString(metrics, name, 60);
    EXPECT_TRUE(minimized.endsWith(QStringLiteral("...")));
    EXPECT_LE(metrics.horizontalAdvance(minimized), 60);
}

TEST_F(GridTest, VisibleCellsGetThumbnailsFirstAndShowThemWhenTheyArrive) {
    showWithColumns(3, 2 * grid.geometry().rowHeight());
    open(30);
    // Drawing asks for the six visible cells; nothing else is decoded until idle time.
    ASSERT_TRUE(waitUntil([&] {
        for (int i = 0; i < 6; ++i)
            if (!grid.cache().lookupMemory(list.path(i)))
                return false;
        return true;
    }));
    EXPECT_FALSE(grid.cache().lookupMemory(list.path(6)));
    const QImage shown = grid.viewport()->grab().toImage();
    const QRect box(grid.cellRect(1).topLeft() + QPoint(8, 8), QSize(90, 75));
    // The test pattern is colourful where the placeholder would be a flat grey.
    EXPECT_NE(shown.pixel(box.center()), QColor(0xe4, 0xe4, 0xe4).rgb());
    ASSERT_TRUE(waitUntil([&] {
        while (grid.IdleStep()) {
        }
        return thumbFiles(grid.cache().diskCacheDirectory()).size() == 30;
    }));
}

TEST_F(GridTest, ACellWhosePictureVanishedShowsTheErrorPictureInTheCurrentColour) {
    showWithColumns(3);
    grid.setThumbnailColorSelected(QColor(204, 204, 255));
    open(2);
    ASSERT_TRUE(QFile::remove(list.path(0)));
    grid.repaintGrid();
    QApplication::processEvents();
    const QImage shown = grid.viewport()->grab().toImage();
    const QImage error = ThumbErrorPicture();
    const QPoint errorOrigin =
        grid.cellRect(0).topLeft() + QPoint(8, 8 + (75 - error.height()) / 2);
    // White areas of the error picture take the current cell's colour.
    EXPECT_EQ(QColor(shown.pixel(errorOrigin + QPoint(1, 1))), QColor(204, 204, 255));
}

TEST_F(GridTest, InvalidatingAThumbnailRemovesItEverywhereAndTheNextDrawMakesItAgain) {
    showWithColumns(3);
    open(2);
    const QString path = list.path(1);
    ASSERT_TRUE(waitUntil([&] { return bool(grid.cache().lookupMemory(path)); }));
    const QString file = grid.cache().thumbFilePath(path);
    ASSERT_TRUE(QFile::exists(file));
    grid.InvalidateThumb(path, ThumbCache::Which::Memory);
    EXPECT_FALSE(grid.cache().lookupMemory(path));
    EXPECT_TRUE(QFile::exists(file));
    grid.InvalidateThumb(path, ThumbCache::Which::Both);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(grid.cache().hasDiskLine(path));
    // The picture is saved over; the repaint builds the new thumbnail.
    ASSERT_TRUE(setModified(path, QDateTime::currentDateTime().addDays(-1)));
    grid.repaintGrid();
    ASSERT_TRUE(waitUntil([&] { return bool(grid.cache().lookupMemory(path)); }));
    EXPECT_TRUE(QFile::exists(grid.cache().thumbFilePath(path)));
    EXPECT_NE(grid.cache().thumbFilePath(path), file);
}
