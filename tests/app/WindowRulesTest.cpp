#include "app/IdleWork.h"
#include "app/MenuRules.h"
#include "app/PanelSnapper.h"

#include <QList>
#include <gtest/gtest.h>

using namespace korvex;

TEST(PanelSnapperTest, SnapsToWholeColumnsInTheDirectionOfTheDrag) {
    PanelSnapper snapper(17);
    EXPECT_EQ(snapper.gridWidth(2), 264);
    struct Case {
        int from, to, expected;
    };
    // Each drag starts from a two-column panel of 264 pixels.
    const Case cases[] = {{264, 300, 370}, {264, 250, 158}, {264, 264, 264}, {264, 480, 476}};
    for (const Case& c : cases) {
        snapper.setColumns(2);
        snapper.setReference(c.from);
        EXPECT_EQ(snapper.snap(c.to, 1200, 1280), c.expected) << c.to;
    }
}

TEST(PanelSnapperTest, NarrowWindowKeepsTheMainPanelWidth) {
    PanelSnapper snapper(17);
    snapper.setReference(264);
    // Three columns (370) would leave less than 53 pixels of a 400-pixel client area.
    EXPECT_EQ(snapper.snap(300, 390, 400), 390);
}

TEST(PanelSnapperTest, DoubleClickTogglesBetweenTwoAndThePreferredWideCount) {
    PanelSnapper snapper(17);
    snapper.setReference(264);
    EXPECT_EQ(snapper.toggle(1200, 1280), snapper.gridWidth(4)); // nothing chosen yet: four
    EXPECT_EQ(snapper.toggle(1200, 1280), 264);
    snapper.setReference(264);
    snapper.snap(300, 1200, 1280); // the user picks three
    EXPECT_EQ(snapper.toggle(1200, 1280), 264);
    EXPECT_EQ(snapper.toggle(1200, 1280), snapper.gridWidth(3));
}

TEST(IdleWorkTest, BusyGateHoldsBackACameraLaunchUntilItOpens) {
    IdleFlags flags;
    flags.pendingCameraSource = QStringLiteral("E");
    flags.firstIdle = true;
    IdleState state;
    state.busyGateOpen = false;
    QList<IdleStep> steps;
    const auto record = [&](IdleStep s) { steps << s; };
    IdleWork::turn(flags, state, record);
    EXPECT_FALSE(steps.contains(IdleStep::LaunchCamera));
    EXPECT_EQ(flags.pendingCameraSource, QStringLiteral("E"));

    steps.clear();
    flags.firstIdle = true;
    state.busyGateOpen = true;
    IdleWork::turn(flags, state, record);
    EXPECT_EQ(steps, QList<IdleStep>{IdleStep::LaunchCamera});
    EXPECT_FALSE(flags.firstIdle); // a camera start skips the first-idle work
}

TEST(IdleWorkTest, OrderOfDeferredWork) {
    IdleFlags flags;
    flags.terminateRequested = flags.gridRepaint = true;
    flags.firstIdle = flags.closeRequested = flags.showPictureRequested = true;
    IdleState state;
    QList<IdleStep> steps;
    const auto record = [&](IdleStep s) { steps << s; };
    for (int i = 0; i < 5; ++i)
        IdleWork::turn(flags, state, record);
    const QList<IdleStep> expected = {IdleStep::Terminate,   IdleStep::RepaintGrid,
                                      IdleStep::FirstIdle,   IdleStep::Close,
                                      IdleStep::ShowPicture, IdleStep::Background};
    EXPECT_EQ(steps, expected);
}

TEST(IdleWorkTest, PictureLoadingDefersTheShowRequest) {
    IdleFlags flags;
    flags.showPictureRequested = true;
    IdleState state;
    state.pictureLoading = true;
    QList<IdleStep> steps;
    IdleWork::turn(flags, state, [&](IdleStep s) { steps << s; });
    EXPECT_EQ(steps, QList<IdleStep>{IdleStep::Background});
    EXPECT_TRUE(flags.showPictureRequested);
}

TEST(MenuRulesTest, EnablingFollowsThePictureState) {
    MenuInputs none;
    MenuStates s = menuStates(none);
    EXPECT_FALSE(s.pictureInfo || s.saveAs || s.print || s.renamePicture || s.save || s.copy ||
                 s.selectAll || s.selectNone || s.slideshow || s.zoom || s.editButtons);

    MenuInputs shown;
    shown.currentPicture = shown.pictureLoaded = true;
    shown.pictureCount = 3;
    shown.zoomButtonsEnabled = true;
    s = menuStates(shown);
    EXPECT_TRUE(s.pictureInfo && s.saveAs && s.print && s.copy && s.selectAll && s.slideshow &&
                s.zoom && s.editButtons && s.wallpaper);
    EXPECT_FALSE(s.save || s.undo || s.selectNone);

    shown.unsavedChanges = true;
    shown.checkedCount = 1;
    EXPECT_TRUE(menuStates(shown).save && menuStates(shown).undo && menuStates(shown).selectNone);

    shown.pictureLoading = true;
    s = menuStates(shown);
    EXPECT_FALSE(s.save || s.undo || s.copy || s.pictureInfo);
    shown.pictureLoading = false;
    shown.slideShow = true;
    EXPECT_FALSE(menuStates(shown).zoom);
    EXPECT_TRUE(menuStates(shown).slideshowChecked);
}

TEST(MenuRulesTest, SystemAndUserFoldersCannotBeRenamed) {
    const QStringList user = {QStringLiteral("/home/ann"), QStringLiteral("/home/ann/Desktop"),
                              QStringLiteral("/home/ann/Pictures")};
    struct Case {
        const char* folder;
        bool allowed;
    };
    const Case cases[] = {{"/usr", false},
                          {"/usr/", false},
                          {"/etc//", false},
                          {"/", false},
                          {"/home/ann/Desktop/", false},
                          {"/home/ann/Pictures", false},
                          {"/home/ann/Pictures/2024", true},
                          {"/USR", true},
                          {"", false}};
    for (const Case& c : cases)
        EXPECT_EQ(CanRenameFolder(QString::fromUtf8(c.folder), user), c.allowed) << c.folder;
}
