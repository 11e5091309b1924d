#include "ForwardProxy.h"
#include "ServiceProcess.h"
#include "TestEnvironment.h"
#include "service/QtTransferHttp.h"
#include "service/ServiceRecords.h"
#include "service/TransferProtocol.h"
#include "service/UploadProgress.h"

#include <QFile>
#include <QFileInfo>
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

TEST_F(TransferIntegration, RefusedConnectionsUseUpTheTries) {
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

} // namespace
