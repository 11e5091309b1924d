#include "IEFunctions.h"
#include "ImageFormat.h"
#include "JpegCodec.h"
#include "PictureWriter.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace korvex {

namespace {

// The hourglass while a transform runs, when there is a screen to show it on.
class BusyCursor {
public:
    BusyCursor() : m_active(qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (m_active)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyCursor() {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active;
};

} // namespace

bool TIEFunctions::losslessTransform(
    const QString& source, const QString& destination,
    const std::function<QByteArray(const QByteArray&)>& transform) {
    QFileInfo target(destination);
    if (target.exists() && !target.isWritable()) {
        QFile file(destination);
        if (!file.setPermissions(file.permissions() | QFileDevice::WriteOwner))
            emit OnMessage(
                QStringLiteral("An error was encountered resetting the read-only tag on the file, "
                               "%1.  ")
                    .arg(target.fileName()));
    }
    BusyCursor busy;
    try {
        // The source is read whole before anything is written, and the result replaces the
        // destination only once complete and checked: a transform onto its own source can
        // never leave the user without the picture.
        const QByteArray input = imageformat::readFile(source);
        const QByteArray output = transform(input);
        jpeg::readHeader(output);
        picture::writeFileSafely(destination, output);
        return true;
    } catch (const std::exception& e) {
        fail("LosslessTransform", QString::fromUtf8(e.what()));
        return false;
    }
}

bool TIEFunctions::LosslessRotateFile(const QString& source, const QString& destination,
                                      int angle) {
    return losslessTransform(source, destination,
                             [angle](const QByteArray& data) { return jpeg::rotate(data, angle); });
}

bool TIEFunctions::LosslessCropFile(const QString& source, const QString& destination, int bottom,
                                    int right, int top, int left) {
    const QRect rect(QPoint(left, top), QPoint(right, bottom));
    return losslessTransform(source, destination,
                             [rect](const QByteArray& data) { return jpeg::crop(data, rect); });
}

} // namespace korvex
