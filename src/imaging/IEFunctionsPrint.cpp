#include "IEFunctions.h"
#include "ImageFormat.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace korvex {

namespace {

QFont arial(int pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    return font;
}

constexpr int kWrapCentered = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;

int wrappedHeight(const QString& text, const QFont& font, QPaintDevice* device, int width) {
    const QFontMetrics metrics(font, device);
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20), kWrapCentered, text).height();
}

// A rectangle given by its edges, the right and bottom edge outside it.
QRect edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

bool TIEFunctions::PrintBitmap(QPrinter& printer, const QImage& bitmap, int leftRightMargin,
                               const QString& jobTitle, const QString& footerText,
                               const QString& headerText, bool centerVertically,
                               bool centerHorizontally, int topBottomMargin) {
    if (printer.printerState() == QPrinter::Active) {
        emit OnMessage(QStringLiteral("Already printing... Please try again later!"));
        return false;
    }
    printer.setDocName(jobTitle);
    QPainter painter;
    if (!painter.begin(&printer)) {
        emit OnMessage(QStringLiteral("Printer corrupt or not installed!"));
        return false;
    }
    // Whatever goes wrong below, the job that began is ended (abandoned on an error).
    struct JobGuard {
        QPrinter& printer;
        QPainter& painter;
        bool done = false;
        ~JobGuard() {
            if (!done)
                printer.abort();
            if (painter.isActive())
                painter.end();
        }
    } job{printer, painter};

    // The painter's origin already sits at the printable area's corner: Qt applies the
    // printer's physical offsets itself.
    const int W = printer.width();
    const int H = printer.height();
    const int left = int(std::nearbyint(W * leftRightMargin / 100.0));
    const int top = int(std::nearbyint(H * topBottomMargin / 100.0));
    painter.setClipRect(QRect(0, 0, W, H));

    const int headerHeight = headerText.isEmpty() ? 0 : H * 4 / 100;
    int footerHeight = 0;
    if (!footerText.isEmpty()) {
        const int needed = wrappedHeight(footerText, arial(7), &printer, W - 2 * left) * 108 / 100;
        footerHeight = std::min(std::max(H * 6 / 100, needed), H / 2);
    }

    const QRect area = edges(left, top + headerHeight, W - left, H - footerHeight - top);
    const QRect placed =
        FitRect(bitmap.width(), bitmap.height(), centerVertically, centerHorizontally, true, true,
                area.top(), area.left(), area.height(), area.width());
    const int pictureBottom = placed.top() + placed.height();
    const QRect headerRect =
        edges(left, placed.top() - headerHeight, W - left, placed.top() - headerHeight * 8 / 100);
    const QRect footerRect =
        edges(left, pictureBottom + footerHeight * 8 / 100, W - left, pictureBottom + footerHeight);

    if (bitmap.isNull())
        throw EIEFunctionError(QStringLiteral("Bitmap load error"));
    if (placed.isEmpty())
        throw EIEFunctionError(QStringLiteral("BAD_PARAMETER"));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(placed, bitmap);

    if (!headerText.isEmpty()) {
        int size = 100;
        for (; size > 7; --size) {
            const QFontMetrics metrics(arial(size), &printer);
            if (metrics.horizontalAdvance(headerText) < headerRect.width() &&
                metrics.height() < headerRect.height())
                break;
        }
        painter.setFont(arial(size));
        painter.drawText(headerRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         headerText);
    }
    if (!footerText.isEmpty()) {
        int size = 100;
        for (; size > 7; --size)
            if (wrappedHeight(footerText, arial(size), &printer, footerRect.width()) <
                footerRect.height())
                break;
        painter.setFont(arial(size));
        painter.drawText(footerRect, kWrapCentered, footerText);
    }
    job.done = true;
    return true;
}

} // namespace korvex
