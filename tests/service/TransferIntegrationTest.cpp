#include "ForwardProxy.h"
#include "ServiceProcess.h"
#include "TestEnvironment.h"
#include "service/Endpoints.h"
#include "service/PageProtocol.h"
#include "service/QtTransferHttp.h"
#include "service/ResultDocument.h"
#include "service/ServiceRecords.h"
#include "service/TransferProtocol.h"
#include "service/UploadProgress.h"
#include "support/TextRoutines.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

struct NullDisplay : UploadProgressDisplay {
    QString file;
    int gauge = 0;
    QString shownFile() const override { return file; }
    void showFile(const QString& path) override { file = path; }
    void setRemainingText(const QString&) override {}
    void setGauge(int percent) override { gauge = percent; }
    void animate(bool) override {}
};

// Passes the work events on and lets a test act in the middle of a request body.
struct WorkTap : TransferObserver {
    TransferObserver& next;
    std::function<void(qint64)> onWork;
    explicit WorkTap(TransferObserver& n) : next(n) {}
    void workBegin(qint64 size) override { next.workBegin(size); }
    void work(qint64 bytes) override {
        next.work(bytes);
        if (onWork)
            onWork(bytes);
    }
    void workEnd() override { next.workEnd(); }
};

class TransferIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.running())
            << "korvex-service did not start from " << binDir().toStdString();
        settings.UploadServer = service.hostPort();
        AuthenticationID() = QStringLiteral("TK-7");
        folder = makeTempDir(QStringLiteral("pictures"));
    }
    void TearDown() override { AuthenticationID().clear(); }

    // Sends one picture with the wizard's parts wired as the wizard wires them.
    int send(const QString& path, const std::function<void(qint64)>& onWork = {}) {
        QtTransferHttp http(settings);
        NullDisplay display;
        UploadProgress progress(display);
        progress.paused = [this] { return paused; };
        WorkTap tap(progress);
        tap.onWork = [&](qint64 bytes) {
            if (onWork)
                onWork(bytes);
            if (pauseNow) {
                pauseNow = false;
                paused = true;
                http.abort();
                QTimer::singleShot(300, [this] { paused = false; });
            }
        };
        http.setObserver(&tap);
        ImageUploader uploader(settings, http,
                               TransferControl{[] { return false; }, [this] { return paused; }},
                               progress.BytesUploaded);
        uploader.setSleep([](int ms) { EventLoopSleep(std::min(ms, 50)); });
        TUploadFileRecord record;
        record.ID = QStringLiteral("im0001");
        record.path = path;
        record.title = QStringLiteral("Title");
        progress.currentIndex = 0;
        progress.currentFile = path;
        progress.currentSize = QFileInfo(path).size();
        progress.totalBytes = progress.currentSize;
        progress.pictureCount = 1;
        const int result = uploader.UploadImage(record);
        lastGauge = display.gauge;
        return result;
    }

    void expectStoredExactly(const QString& path) {
        const QStringList stored = service.storedPictures();
        ASSERT_EQ(stored.size(), 1);
        EXPECT_EQ(sha256(stored.first()), sha256(path));
    }

    ServiceProcess service;
    Settings settings;
    QString folder;
    bool paused = false;
    bool pauseNow = false;
    int lastGauge = 0;
};

TEST_F(TransferIntegration, PictureArrivesWhole) {
    const QString pic = writePicture(folder, QStringLiteral("a.jpg"), 3'000'000);
    EXPECT_EQ(send(pic), 0);
    expectStoredExactly(pic);
    EXPECT_EQ(service.counter(QStringLiteral("uploads")), 1);
    EXPECT_EQ(lastGauge, 100);
}

TEST_F(TransferIntegration, DroppedConnectionStartsAgainWithANewImageId) {
    const QString pic = writePicture(folder, QStringLiteral("a.jpg"), 3'000'000);
    // Qt's HTTP stack may itself send a request again, once, when the connection closes before
    // any reply byte; three drops in a row always reach the transfer as transport failures.
    service.control(QStringLiteral("drop-after=1000000&drop-count=3"));
    EXPECT_EQ(send(pic), 0);
    expectStoredExactly(pic);
    EXPECT_EQ(service.counter(QStringLiteral("uploads")), 4);
    EXPECT_GE(service.counter(QStringLiteral("images")), 2);
}

TEST_F(TransferIntegration, IncompleteUploadResumesAtTheServerOffset) {
    const QString pic = writePicture(folder, QStringLiteral("a.jpg"), 3'000'000);
    // Short by 1.5 MB, then the image ID is unknown for two offset queries.
    service.control(QStringLiteral("incomplete-at=1500000&unknown-id-count=2"));
    EXPECT_EQ(send(pic), 0);
    expectStoredExactly(pic);
    EXPECT_EQ(service.counter(QStringLiteral("uploads")), 2);
    EXPECT_EQ(service.counter(QStringLiteral("images")), 1) << "resumed under the same image ID";
}

TEST_F(TransferIntegration, PauseInTheMiddleContinuesFromTheServerOffset) {
    const QString pic = writePicture(folder, QStringLiteral("big.jpg"), 20'000'000);
    service.control(QStringLiteral("throttle=40000000"));
    bool paused10 = false;
    EXPECT_EQ(send(pic,
                   [&](qint64 bytes) {
                       if (!paused10 && bytes > 10'000'000) {
                           paused10 = true;
                           pauseNow = true;
                       }
                   }),
              0);
    EXPECT_TRUE(paused10);
    expectStoredExactly(pic);
    EXPECT_EQ(service.counter(QStringLiteral("uploads")), 2);
    EXPECT_EQ(service.counter(QStringLiteral("images")), 1);
}

TEST_F(TransferIntegration, ServiceCodesEndThePicture) {
    const QString pic = writePicture(folder, QStringLiteral("a.jpg"), 100'000);
    service.control(QStringLiteral("upload-error=2&upload-error-count=1"));
    EXPECT_EQ(send(pic), 2);

    const QString text = folder + QStringLiteral("/notes.jpg");
    QFile f(text);
    f.open(QIODevice::WriteOnly);
    f.write("not a picture");
    f.close();
    EXPECT_EQ(send(text), 4);
    EXPECT_TRUE(service.storedPictures().isEmpty());
}

TEST_F(TransferIntegration, ImageIdRefusalsUseUpTheTries) {
    const QString pic = writePicture(folder, QStringLiteral("a.jpg"), 100'000);
    service.control(QStringLiteral("imageid-error-count=5"));
    EXPECT_EQ(send(pic), -1);
    EXPECT_EQ(service.counter(QStringLiteral("uploads")), 0);
}

TEST_F(TransferIntegration, AuthenticatingProxySeesEachUploadOnce) {
    settings.ProxyServer = QStringLiteral("127.0.0.1");
    settings.ProxyUsername = QStringLiteral("bob");
    settings.ProxyPassword = QStringLiteral("s3cret:x");
    ForwardProxy proxy("Basic " + QByteArray("bob:s3cret:x").toBase64());
    settings.ProxyPort = proxy.port();
    const QString pic = writePicture(folder, QStringLiteral("a.jpg"), 5'000'000);
    EXPECT_EQ(send(pic), 0);
    expectStoredExactly(pic);
    EXPECT_EQ(proxy.uploads.load(), 1);
    EXPECT_EQ(proxy.refused.load(), 0);
    EXPECT_EQ(service.counter(QStringLiteral("uploads")), 1);
}

TEST_F(TransferIntegration, TransferCommandReportsEachPicture) {
    const QString good = writePicture(folder, QStringLiteral("good.jpg"), 2'000'000);
    const QString bad = folder + QStringLiteral("/bad.jpg");
    QFile f(bad);
    f.open(QIODevice::WriteOnly);
    f.write("plain text");
    f.close();
    QProcess tool;
    tool.start(binDir() + QStringLiteral("/korvex-transfer"),
               {QStringLiteral("--upload-server"), service.hostPort(), QStringLiteral("--ticket"),
                QStringLiteral("TK-9"), good, bad});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()),
              good + QStringLiteral("\t0\n") + bad + QStringLiteral("\t4\n"));
    expectStoredExactly(good);

    tool.start(binDir() + QStringLiteral("/korvex-transfer"),
               {QStringLiteral("--upload-server"), service.hostPort(), good});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0);
}

// The wizard's path through the service without its browser: start post, a question page, the
// finalization page with its result document, the transfers, the completion post, the close page.
TEST_F(TransferIntegration, WizardFlowThroughTheReferenceService) {
    settings.AppServer = service.hostPort();
    QMap<QString, QString> ids;
    QByteArray body = "partnerid=" + URLEncode(settings.PartnerID).toLatin1() +
                      "&campaignid=" + URLEncode(settings.CampaignID).toLatin1() + "&numimages=2";
    for (int n = 1; n <= 2; ++n) {
        const QString p = QStringLiteral("im%1").arg(n, 4, 10, QLatin1Char('0'));
        ids[p] = writePicture(folder, QStringLiteral("pic %1.jpg").arg(n), 700'000 * n);
        body += QStringLiteral("&%1-id=%1&%1-path=%2&%1-title=pic %3&%1-subject=%4")
                    .arg(p, URLEncode(ids[p]), QString::number(n),
                         URLEncode(QStringLiteral("Day <%1> 50%+").arg(n)))
                    .toLatin1();
    }
    const auto pageAt = [](const QString& url, const QByteArray& post = {}) {
        return QString::fromUtf8(fetch(url, post)).split(u'\n');
    };
    const auto hrefOf = [](const QStringList& page, const QString& embed) {
        for (const QString& line : page) {
            if (!line.contains(QStringLiteral("<EMBED")))
                continue;
            TEmbedRecord r;
            ProcessEmbed(line, r);
            if (r.name == embed)
                return r.href;
        }
        return QString();
    };

    const QStringList question = pageAt(StartPageURL(settings, UploadModeOrder), body);
    ASSERT_EQ(PageType(question), _ptOther);
    const QString next = hrefOf(question, QStringLiteral("VORU_NEXT_BUTTON"));
    ASSERT_FALSE(next.isEmpty());

    QStringList block = pageAt(QStringLiteral("http://") + settings.AppServer + next);
    ASSERT_EQ(PageType(block), _ptFinalization);
    ASSERT_TRUE(ProcessFinalizationPage(block, block));
    TResultDocument result;
    QList<TUploadFileRecord> records;
    QString error;
    ASSERT_TRUE(ReadResultDocument(
        block, AuthenticationID(), result, records,
        [&](const QString& id) { return ids.value(id); }, error));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].subject, QStringLiteral("Day <2> 50%+"));
    EXPECT_FALSE(AuthenticationID().isEmpty());

    QByteArray completion = "numimages=2&numsuccessful=2&numfailed=0";
    for (TUploadFileRecord& r : records) {
        r.status = send(r.path);
        EXPECT_EQ(r.status, 0);
    }
    QStringList storedHashes;
    for (const QString& stored : service.storedPictures())
        storedHashes << QString::fromLatin1(sha256(stored));
    ASSERT_EQ(storedHashes.size(), 2);
    for (const TUploadFileRecord& r : records)
        EXPECT_TRUE(storedHashes.contains(QString::fromLatin1(sha256(r.path))));
    completion += result.completionParameters.toLatin1();
    const QString done = ResolveResultLink(settings, result.completionAddress);
    const QStringList answer = pageAt(QStringLiteral("http://") + done, completion);
    ASSERT_EQ(PageType(answer), _ptOther);
    const QString finish = hrefOf(answer, QStringLiteral("VORU_FINISH_BUTTON"));

    const QStringList close = pageAt(QStringLiteral("http://") + settings.AppServer + finish);
    ASSERT_EQ(PageType(close), _ptClosePage);
    QUrl opened;
    ProcessClosePage(close, settings, [&](const QUrl& u) {
        opened = u;
        return true;
    });
    EXPECT_EQ(opened.path(), QStringLiteral("/client/thanks.jsp"));
    EXPECT_EQ(fetch(opened.toString()).contains("received"), true);
}

} // namespace
