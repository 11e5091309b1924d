// The screen-saver preview drawn into a window another program owns, on a real X server.
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

// A private X server for this test, as the screen-saver host's display.
class XServer {
public:
    XServer() {
        m_server.setProgram(QStringLiteral("Xvfb"));
        m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                               QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("640x480x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")});
        m_server.start();
        if (!m_server.waitForStarted(5000))
            return;
        QElapsedTimer t;
        t.start();
        while (!m_server.canReadLine() && t.elapsed() < 10000)
            m_server.waitForReadyRead(200);
        bool ok = false;
        const int number = m_server.readLine().trimmed().toInt(&ok);
        if (ok)
            m_display = QStringLiteral(":%1").arg(number);
    }
    ~XServer() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    QString display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

int countNonBlack(xcb_connection_t* c, xcb_window_t w, int width, int height) {
    xcb_get_image_reply_t* img = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, width, height, ~0u), nullptr);
    if (!img)
        return -1;
    const auto* p = reinterpret_cast<const quint32*>(xcb_get_image_data(img));
    const int n = xcb_get_image_data_length(img) / 4;
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += (p[i] & 0xffffff) != 0;
    std::free(img);
    return count;
}

} // namespace

TEST(PreviewTest, DrawsIntoTheHostWindowAndEndsWhenItIsGone) {
    XServer server;
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb did not start";
    const QByteArray display = server.display().toUtf8();
    xcb_connection_t* c = xcb_connect(display.constData(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(c), 0);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t host = xcb_generate_id(c);
    const quint32 black = screen->black_pixel;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, host, screen->root, 0, 0, 152, 112, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      &black);
    xcb_map_window(c, host);
    xcb_flush(c);
    ASSERT_EQ(countNonBlack(c, host, 152, 112), 0);

    QProcess preview;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), server.display());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    preview.setProcessEnvironment(env);
    preview.setProcessChannelMode(QProcess::ForwardedChannels);
    preview.start(korvex::test::binDir() + QStringLiteral("/korvex.scr"),
                  {QStringLiteral("/p"), QString::number(host)});
    ASSERT_TRUE(preview.waitForStarted(5000));

    // The logo (white with the product's mark) appears in the host's window.
    int drawn = 0;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000 && (drawn = countNonBlack(c, host, 152, 112)) < 1000)
        QTest::qWait(100);
    EXPECT_GE(drawn, 1000);
    EXPECT_EQ(preview.state(), QProcess::Running);

    xcb_destroy_window(c, host);
    xcb_flush(c);
    EXPECT_TRUE(preview.waitForFinished(5000)) << "the preview outlived its window";
    EXPECT_EQ(preview.exitCode(), 0);
    xcb_disconnect(c);
}

TEST(PreviewTest, WindowThatIsNotANumberEndsSilently) {
    QProcess preview;
    preview.start(korvex::test::binDir() + QStringLiteral("/korvex.scr"),
                  {QStringLiteral("/p"), QStringLiteral("notanumber")});
    ASSERT_TRUE(preview.waitForFinished(5000));
    EXPECT_EQ(preview.exitCode(), 0);
}
