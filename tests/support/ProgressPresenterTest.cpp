#include "support/Progress.h"

#include <gtest/gtest.h>

using namespace korvex;

namespace {

// The state a real display would show.
class FakeDisplay final : public ProgressDisplay {
public:
    int gauge = -1;
    bool gaugeVisible = false;
    bool windowOpen = false;
    int opened = 0;
    QString message;
    QString caption;
    int percent = -1;
    int repaints = 0;

    void setStatusGauge(int p, bool visible) override {
        gauge = p;
        gaugeVisible = visible;
    }
    void openProgressWindow() override {
        windowOpen = true;
        ++opened;
    }
    void closeProgressWindow() override { windowOpen = false; }
    void setProgressMessage(const QString& m) override { message = m; }
    void setProgressCaption(const QString& c) override { caption = c; }
    void setProgressPercent(int p) override { percent = p; }
    void repaintProgressWindow() override { ++repaints; }
};

class ProgressPresenterTest : public ::testing::Test {
protected:
    FakeDisplay display;
    ProgressPresenter presenter{display};
};

TEST_F(ProgressPresenterTest, FirstCallOpensTheWindowAndLaterCallsUpdateIt) {
    presenter.showprogress(true, true, 1, 3, QStringLiteral("Copying"), QStringLiteral("Camera"));
    EXPECT_EQ(display.gauge, 33);
    EXPECT_TRUE(display.gaugeVisible);
    EXPECT_TRUE(display.windowOpen);
    EXPECT_EQ(display.message, QStringLiteral("Copying"));
    EXPECT_EQ(display.caption, QStringLiteral("Camera"));
    EXPECT_EQ(display.percent, 33);
    EXPECT_EQ(display.repaints, 1);

    presenter.showprogress(true, true, 2, 3, QStringLiteral("SAME"), QStringLiteral("SAME"));
    EXPECT_EQ(display.opened, 1) << "at most one window";
    EXPECT_EQ(display.message, QStringLiteral("Copying"));
    EXPECT_EQ(display.caption, QStringLiteral("Camera"));
    EXPECT_EQ(display.percent, 66) << "integer division";

    presenter.showprogress(true, true, 3, 3, QStringLiteral("Done"), QStringLiteral("SAME"));
    EXPECT_EQ(display.message, QStringLiteral("Done"));
    EXPECT_EQ(display.caption, QStringLiteral("Camera"));
    EXPECT_EQ(display.percent, 100);
}

TEST_F(ProgressPresenterTest, ZeroTotalOrDoneAboveTotalChangesNothing) {
    presenter.showprogress(true, true, 1, 4, QStringLiteral("m"), QStringLiteral("c"));
    presenter.showprogress(true, true, 0, 0, QStringLiteral("x"), QStringLiteral("x"));
    presenter.showprogress(true, true, 5, 4, QStringLiteral("x"), QStringLiteral("x"));
    EXPECT_EQ(display.gauge, 25);
    EXPECT_EQ(display.message, QStringLiteral("m"));
    EXPECT_EQ(display.percent, 25);
    EXPECT_EQ(display.repaints, 1);
}

TEST_F(ProgressPresenterTest, WithoutTheDialogOnlyTheStatusGaugeMoves) {
    presenter.setShowDlgProgress(false);
    presenter.showprogress(true, true, 1, 2, QStringLiteral("m"), QStringLiteral("c"));
    EXPECT_EQ(display.gauge, 50);
    EXPECT_FALSE(display.windowOpen);
    EXPECT_FALSE(presenter.progressWindowExists());

    presenter.setShowDlgProgress(true);
    presenter.showprogress(true, false, 1, 2, QStringLiteral("m"), QStringLiteral("c"));
    EXPECT_FALSE(display.windowOpen) << "the caller did not ask for the window";
}

TEST_F(ProgressPresenterTest, HideClosesTheWindowAndResetsTheGauge) {
    presenter.hideprogress();
    EXPECT_EQ(display.gauge, 0);
    EXPECT_FALSE(display.gaugeVisible);
    EXPECT_EQ(display.opened, 0);

    presenter.showprogress(true, true, 1, 2, QStringLiteral("m"), QStringLiteral("c"));
    presenter.hideprogress();
    EXPECT_FALSE(display.windowOpen);
    EXPECT_FALSE(presenter.progressWindowExists());
    presenter.showprogress(true, true, 1, 2, QStringLiteral("SAME"), QStringLiteral("SAME"));
    EXPECT_EQ(display.opened, 2) << "a new window after hiding";
}

TEST_F(ProgressPresenterTest, HugeCountsDoNotOverflow) {
    const qint64 total = qint64(1) << 60;
    presenter.showprogress(true, true, total / 2, total, QStringLiteral("m"), QStringLiteral("c"));
    EXPECT_EQ(display.gauge, 50);
}

} // namespace
