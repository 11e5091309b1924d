#include "service/UploadProgress.h"

#include <gtest/gtest.h>

using namespace korvex;

namespace {

struct RecordingDisplay : UploadProgressDisplay {
    QString file;
    QString remaining = QStringLiteral("untouched");
    int gauge = -1;
    int fileShown = 0;
    QString shownFile() const override { return file; }
    void showFile(const QString& path) override {
        file = path;
        ++fileShown;
    }
    void setRemainingText(const QString& text) override { remaining = text; }
    void setGauge(int percent) override { gauge = percent; }
    void animate(bool) override {}
};

TEST(TimeRemainingText, Ranges) {
    const std::pair<int, const char*> cases[] = {
        {0, "A few seconds"},        {6, "A few seconds"},         {7, "7 seconds"},
        {19, "19 seconds"},          {20, "Less than a minute"},   {60, "About one minute"},
        {90, "2 minutes"},           {2999, "50 minutes"},         {3000, "About one hour"},
        {4000, "1 hour, 7 minutes"}, {7198, "1 hour, 0 minutes"},  {7199, "2 hours"},
        {7259, "2 hours, 1 minute"}, {7319, "2 hours, 2 minutes"}, {10799, "Over 3 hours"},
    };
    for (const auto& [s, text] : cases)
        EXPECT_EQ(TimeRemainingText(s), QLatin1String(text)) << s;
}

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        progress.tick = [this] { return now; };
        progress.startPass();
        progress.totalBytes = 10'000'000;
        progress.pictureCount = 2;
        progress.remainingPictures = 2;
        progress.currentIndex = 0;
        progress.currentFile = QStringLiteral("/p/a.jpg");
        progress.currentSize = 5'000'000;
    }
    // One work event after ms milliseconds at position pos of the request.
    void at(qint64 ms, qint64 pos) {
        now += ms;
        progress.UpdateUploadProgress(pos);
    }
    qint64 now = 1000;
    RecordingDisplay display;
    UploadProgress progress{display};
};

TEST_F(ProgressTest, AverageDropsTheFastestAndSlowestThird) {
    struct Case {
        std::vector<qint64> samples;
        qint64 average;
    };
    const Case cases[] = {
        {{}, 0},
        {{500}, 500},
        {{100, 900}, 0}, // both dropped: no average
        {{100, 200, 900}, 200},
        {{1, 2, 3, 4, 5, 60, 70, 80, 90, 1000, 1100, 1200, 1300, 1400}, 75}, // over 4
        {{10, 11}, 0},
    };
    for (const Case& c : cases) {
        progress.samples.clear();
        for (qint64 s : c.samples)
            progress.AddBPSSample(s);
        EXPECT_EQ(progress.AverageBPS(), c.average) << c.samples.size();
    }
}

TEST_F(ProgressTest, KeepsTheNewestFourteenSamplesAndNoNegativeOnes) {
    for (int i = 1; i <= 20; ++i)
        progress.AddBPSSample(i);
    progress.AddBPSSample(-5);
    ASSERT_EQ(progress.samples.size(), 14);
    EXPECT_EQ(progress.samples.first(), QStringLiteral("7"));
    EXPECT_EQ(progress.samples.last(), QStringLiteral("20"));
}

TEST_F(ProgressTest, FirstUpdateShowsTheFileButNoEstimate) {
    at(0, 0);
    EXPECT_EQ(display.file, QStringLiteral("/p/a.jpg"));
    EXPECT_EQ(display.remaining, QStringLiteral("untouched"));
    EXPECT_EQ(display.gauge, 0);
}

TEST_F(ProgressTest, EstimateFromOneSampleThenNoneFromTwoThenSmoothed) {
    at(1000, 1'000'000); // 1 MB/s, 9 MB left: 9 s + 2 pictures x 1.8 s = 9 + 4 (3.6 rounded)
    EXPECT_EQ(display.remaining, QStringLiteral("Approximate time remaining:  13 seconds"));
    EXPECT_EQ(display.gauge, 10);
    at(1000, 3'000'000); // two samples: both dropped, no new estimate
    EXPECT_EQ(display.remaining, QStringLiteral("Approximate time remaining:  13 seconds"));
    EXPECT_EQ(progress.lastEstimate, 13);
    at(1000, 4'000'000); // samples 1M, 2M, 1M: average 1M; 6 s + 4 = 10, smoothed (13+10)/2
    EXPECT_EQ(progress.lastEstimate, 11);
    EXPECT_EQ(display.remaining, QStringLiteral("Approximate time remaining:  11 seconds"));
}

TEST_F(ProgressTest, ZeroElapsedTimeGivesNoEstimate) {
    at(0, 1000);
    EXPECT_EQ(display.remaining, QStringLiteral("untouched"));
    EXPECT_TRUE(progress.samples.isEmpty());
}

TEST_F(ProgressTest, PausedOrFinishedPassLeavesTheDisplay) {
    bool paused = true;
    progress.paused = [&] { return paused; };
    at(1000, 2'000'000);
    EXPECT_EQ(display.gauge, -1);
    EXPECT_EQ(display.fileShown, 0);
    paused = false;
    progress.currentIndex = -1;
    at(1000, 3'000'000);
    EXPECT_EQ(display.gauge, -1);
}

TEST_F(ProgressTest, WorkEventsCountOnlyLargeRequestsAndWholePictures) {
    progress.workBegin(200); // an image-ID request
    progress.work(200);
    progress.workEnd();
    EXPECT_EQ(progress.BytesUploaded, 0);
    EXPECT_EQ(display.gauge, -1);

    progress.workBegin(5'000'400);
    progress.work(2'500'000);
    EXPECT_EQ(display.gauge, 25);
    progress.work(5'000'400); // multipart overhead is clipped to the picture
    EXPECT_EQ(display.gauge, 50);
    progress.workEnd();
    EXPECT_EQ(progress.BytesUploaded, 5'000'000);
}

TEST_F(ProgressTest, CancelStopsTheClientOnTheNextUpdate) {
    int stops = 0;
    progress.cancelled = [] { return true; };
    progress.stop = [&] { ++stops; };
    at(10, 10);
    EXPECT_EQ(stops, 1);
}

} // namespace
