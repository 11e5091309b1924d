#include "service/TransferProtocol.h"

#include "FakeTransferHttp.h"
#include "TestEnvironment.h"
#include "service/ServiceRecords.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::FakeTransferHttp;
using Step = FakeTransferHttp::Step;

namespace {

const QString ID = QStringLiteral("GetImageID");
const QString UP = QStringLiteral("UploadImage");
const QString OFF = QStringLiteral("GetImageOffset");

Step body(const char* text) {
    return Step{text, false, {}};
}
Step dropped() {
    return Step{{}, true, {}};
}

class UploadImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AuthenticationID() = QStringLiteral("T-1");
        settings.UploadServer = QStringLiteral("upload.test");
        data.resize(1000);
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        record.ID = QStringLiteral("im0001");
        record.path = korvex::test::makeTempDir() + QStringLiteral("/pic.jpg");
        QFile f(record.path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
        http.otherwise(ID, body("ImageID=I1\r\nServer=image.test\r\n"));
        uploader.setSleep([this](int ms) {
            sleeps << ms;
            if (onSleep)
                onSleep();
        });
    }
    void TearDown() override { AuthenticationID().clear(); }

    int run() { return uploader.UploadImage(record); }

    Settings settings;
    FakeTransferHttp http;
    bool cancel = false;
    bool pause = false;
    qint64 bytes = 0;
    ImageUploader uploader{settings, http,
                           TransferControl{[this] { return cancel; }, [this] { return pause; }},
                           bytes};
    TUploadFileRecord record;
    QByteArray data;
    QList<int> sleeps;
    std::function<void()> onSleep;
};

TEST_F(UploadImageTest, FirstAttemptSendsTheWholePictureWithEveryField) {
    settings.CampaignID = QStringLiteral("a b");
    record.title = QStringLiteral("Title");
    record.albumID = QStringLiteral("A7");
    record.attributes = QStringLiteral("size=4x6#bare#copies=2");
    http.script(UP, {body("Status=ok\r\n")});
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(http.paths(), (QStringList{ID, UP}));
    const auto& req = http.requests[1];
    EXPECT_EQ(req.fileData, data);
    QStringList names;
    for (const FormField& f : req.fields)
        names << f.name;
    EXPECT_EQ(names,
              (QStringList{"ProtocolVersion", "AuthenticationID", "PartnerID", "PartnerSubID",
                           "CampaignID", "size", "bare", "copies", "CampaignID", "User-Agent",
                           "ImageID", "Image.AlbumID", "Image.Title", "Image.Raw.Size"}));
    EXPECT_EQ(req.field("bare"), QStringLiteral("bare"));
    EXPECT_EQ(req.field("ImageID"), QStringLiteral("I1"));
    EXPECT_EQ(req.field("Image.Raw.Size"), QStringLiteral("1000"));
    EXPECT_EQ(req.field("CampaignID"), QStringLiteral("a b")); // unencoded in multipart
    EXPECT_EQ(http.requests[0].field("AuthenticationID"), QStringLiteral("T-1"));
}

TEST_F(UploadImageTest, EmptyCampaignIsSentOnceAndEmpty) {
    settings.CampaignID.clear();
    AuthenticationID().clear();
    http.script(UP, {body("Status=OK")});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(http.requests[1].count("CampaignID"), 1);
    EXPECT_EQ(http.requests[1].count("AuthenticationID"), 0);
    EXPECT_EQ(http.requests[0].count("AuthenticationID"), 0);
}

TEST_F(UploadImageTest, FiveImageIdFailuresGiveMinusOne) {
    http.script(ID, {body("ImageID=X\r\n"), body("Server=s\r\n"), dropped(),
                     body("ErrCode=3\r\nErrMsg=busy"), body("")});
    http.otherwise(ID, body("ImageID=late\r\nServer=s\r\n"));
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(http.paths(), QStringList(5, ID));
}

// Codes that stop the picture at once, whether the upload or the offset query reports them.
TEST_F(UploadImageTest, CriticalCodesStopThePicture) {
    for (const int code : {1, 2}) {
        http = FakeTransferHttp();
        http.otherwise(ID, body("ImageID=I1\r\nServer=image.test\r\n"));
        http.script(
            UP,
            {Step{QStringLiteral("Status=Failed\r\nErrCode=%1").arg(code).toUtf8(), false, {}}});
        EXPECT_EQ(run(), code);
        EXPECT_EQ(http.paths(), (QStringList{ID, UP})) << code;
    }
    for (const int code : {1, 2, 4}) {
        http = FakeTransferHttp();
        http.otherwise(ID, body("ImageID=I1\r\nServer=image.test\r\n"));
        http.script(UP, {body("Status=Partial\r\nErrCode=0")});
        http.script(OFF, {Step{QStringLiteral("ErrCode=%1").arg(code).toUtf8(), false, {}}});
        EXPECT_EQ(run(), code) << "a failure is never reported as transferred";
        EXPECT_EQ(http.paths(), (QStringList{ID, UP, OFF})) << code;
    }
}

TEST_F(UploadImageTest, RefusedPictureStopsAndTellsTheUser) {
    QString shown;
    uploader.setCallbacks({{}, [&](const QString& t) { shown = t; }, {}, {}});
    http.script(UP, {body("Status=Error\r\nErrCode=4\r\nErrMsg=not a JPEG")});
    EXPECT_EQ(run(), 4);
    EXPECT_EQ(http.paths(), (QStringList{ID, UP}));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("UploadImageError (4)")));
}

TEST_F(UploadImageTest, UnknownImageIdBacksOffThenResumesAtTheOffset) {
    http.script(UP, {body("Status=Incomplete"), body("Status=OK")});
    http.script(OFF, {body("ErrCode=6"), body("ErrCode=6"), body("Offset=300")});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sleeps, (QList<int>{1000, 4000}));
    EXPECT_EQ(http.paths(), (QStringList{ID, UP, OFF, OFF, OFF, UP}));
    const auto& resumed = http.requests.last();
    EXPECT_EQ(resumed.field("Offset"), QStringLiteral("300"));
    EXPECT_EQ(resumed.field("Image.Raw.Size"), QStringLiteral("1000"));
    EXPECT_EQ(resumed.fileData, data.mid(300));
    EXPECT_EQ(bytes, 300) << "the resume offset stays counted after success";
}

TEST_F(UploadImageTest, FiveUnknownIdAnswersAskForANewImageId) {
    http.script(UP, {body("Status=Incomplete"), body("Status=OK")});
    http.script(OFF, {body("ErrCode=6"), body("ErrCode=6"), body("ErrCode=6"), body("ErrCode=6"),
                      body("ErrCode=6")});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sleeps, (QList<int>{1000, 4000, 9000, 16000, 25000}));
    EXPECT_EQ(http.countOf(ID), 2);
    EXPECT_EQ(http.requests.last().count("Offset"), 0);
}

TEST_F(UploadImageTest, ShortUploadsWithoutACodeAreNeverReportedAsTransferred) {
    http.otherwise(UP, body("Status=Short"));
    http.otherwise(OFF, body("Offset=0"));
    EXPECT_EQ(run(), ImageUploader::UploadIncomplete);
    EXPECT_EQ(http.countOf(ID), 5);
}

TEST_F(UploadImageTest, ZeroOffsetAnswersAskForANewImageId) {
    http.script(UP, {body("Status=Incomplete"), body("Status=OK")});
    http.script(OFF, {body("Offset=0"), body("Offset=0"), body("Offset=x"), body(""), dropped()});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(http.paths(), (QStringList{ID, UP, OFF, OFF, OFF, OFF, OFF, ID, UP}));
    EXPECT_TRUE(sleeps.isEmpty());
}

TEST_F(UploadImageTest, CompleteOnTheServerCountsAsTransferred) {
    http.script(UP, {body("Status=Incomplete")});
    http.script(OFF, {body("Offset=1000\r\nErrCode=14")});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(http.paths(), (QStringList{ID, UP, OFF}));
}

TEST_F(UploadImageTest, FiveNonAdvancingAttemptsTakeANewImageIdWithoutCountingATry) {
    // Every upload under the first ID ends short and the server stays at 100 bytes.
    http.script(UP, {body("Status=Short"), body("Status=Short"), body("Status=Short"),
                     body("Status=Short"), body("Status=Short"), body("Status=Short"),
                     body("Status=OK")});
    http.otherwise(OFF, body("Offset=100"));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(http.countOf(ID), 2);
    EXPECT_EQ(http.countOf(UP), 7);
    EXPECT_EQ(http.requests.last().count("Offset"), 0) << "a new image ID starts at 0";
    EXPECT_EQ(http.requests[3].field("Offset"), QStringLiteral("100"));
}

TEST_F(UploadImageTest, ServerErrorsAndDropsUseUpFiveNewImageIds) {
    http.otherwise(UP, body("Status=Error\r\nErrCode=7"));
    EXPECT_EQ(run(), 7);
    EXPECT_EQ(http.countOf(ID), 5);
    EXPECT_EQ(http.countOf(UP), 5);
    EXPECT_EQ(http.countOf(OFF), 0);

    http = FakeTransferHttp();
    http.otherwise(ID, body("ImageID=I1\r\nServer=image.test\r\n"));
    http.otherwise(UP, dropped());
    EXPECT_EQ(run(), TUploadResult::TransportFailure);
    EXPECT_EQ(http.countOf(UP), 5);
}

TEST_F(UploadImageTest, ByteCounterIsPutBackAfterAFailedAttempt) {
    bytes = 5000;
    http.script(UP, {body("Status=Short")});
    http.script(OFF, {body("Offset=400")});
    http.script(
        UP, {Step{"Status=Short", false, [this] { EXPECT_EQ(bytes, 5400); }}, body("Status=OK")});
    http.script(OFF, {body("Offset=400")});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(bytes, 5400);
}

TEST_F(UploadImageTest, CancelReturnsTheResultHeldAtThatMoment) {
    cancel = true;
    EXPECT_EQ(run(), -1);
    EXPECT_TRUE(http.requests.isEmpty());

    cancel = false;
    http.script(UP, {Step{{}, true, [this] { cancel = true; }}});
    EXPECT_EQ(run(), TUploadResult::TransportFailure);
    EXPECT_EQ(http.paths(), (QStringList{ID, UP})) << "nothing after the cancel";
}

TEST_F(UploadImageTest, PauseAbortsTheUploadThenResumesFromTheServerOffset) {
    // The pause button disconnects the request under way: a transport failure that is no
    // server error, then the wait, then the offset query and the rest of the picture.
    http.script(UP, {Step{{}, true, [this] { pause = true; }}, body("Status=OK")});
    http.script(OFF, {body("Offset=600")});
    onSleep = [this] {
        if (sleeps.size() == 3)
            pause = false;
    };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sleeps, (QList<int>{1000, 1000, 1000}));
    EXPECT_EQ(http.paths(), (QStringList{ID, UP, OFF, UP}));
    EXPECT_EQ(http.requests.last().fileData, data.mid(600));
}

TEST_F(UploadImageTest, CancelDuringPauseEndsTheWait) {
    http.script(UP, {Step{{}, true, [this] { pause = true; }}});
    onSleep = [this] { cancel = true; };
    EXPECT_EQ(run(), TUploadResult::TransportFailure);
    EXPECT_EQ(sleeps.size(), 1);
}

TEST_F(UploadImageTest, UnreadablePictureLeavesTheTransfer) {
    QFile::remove(record.path);
    EXPECT_THROW(run(), TransferFileError);
}

TEST_F(UploadImageTest, OffsetBeyondTheFileSendsItWhole) {
    http.script(UP, {body("Status=Short"), body("Status=OK")});
    http.script(OFF, {body("Offset=5000")});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(http.requests.last().count("Offset"), 0);
    EXPECT_EQ(http.requests.last().fileData, data);
}

struct ResponseCase {
    const char* reply;
    const char* name;
    const char* value;
    const char* errMsg;
    int errCode;
};

class GetResponseValueTest : public ::testing::TestWithParam<ResponseCase> {};

TEST_P(GetResponseValueTest, ReadsLines) {
    const ResponseCase& c = GetParam();
    QString value, msg;
    int code = -5;
    GetResponseValue(QLatin1String(c.name), QLatin1String(c.reply), value, msg, code);
    EXPECT_EQ(value, QLatin1String(c.value));
    EXPECT_EQ(msg, QLatin1String(c.errMsg));
    EXPECT_EQ(code, c.errCode);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, GetResponseValueTest,
    ::testing::Values(ResponseCase{"Status=OK\r\n", "Status", "OK", "", 0},
                      ResponseCase{"status=ok", "Status", "ok", "", 0},
                      ResponseCase{"errcode= 7 \nerrmsg=Disk full", "Status", "", "Disk full", 7},
                      ResponseCase{"ErrCode=abc", "Status", "", "", 0},
                      ResponseCase{"Offset=1\nOffset=2=3", "Offset", "2=3", "", 0},
                      ResponseCase{"XOffset=9\nOffsets=4", "Offset", "", "", 0},
                      ResponseCase{"", "ImageID", "", "", 0}));

TEST(CreateOffSetFile, CopiesTheTailAndRefusesImpossibleOffsets) {
    const QString dir = korvex::test::makeTempDir();
    const QString src = dir + QStringLiteral("/a.jpg");
    QFile f(src);
    f.open(QIODevice::WriteOnly);
    f.write("0123456789");
    f.close();
    const QString dst = dir + QStringLiteral("/b.jpg");

    struct Case {
        qint64 offset;
        bool ok;
        QByteArray content;
    };
    for (const Case& c : {Case{3, true, "3456789"}, Case{10, true, ""}, Case{11, false, {}}}) {
        EXPECT_EQ(CreateOffSetFile(src, dst, c.offset), c.ok) << c.offset;
        QFile out(dst);
        if (c.ok) {
            ASSERT_TRUE(out.open(QIODevice::ReadOnly));
            EXPECT_EQ(out.readAll(), c.content);
        }
    }
    EXPECT_FALSE(CreateOffSetFile(dir + QStringLiteral("/missing.jpg"), dst, 0));
}

} // namespace
