#include "TestEnvironment.h"
#include "imaging/IEFunctions.h"
#include "imaging/ImageFormat.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

void pdfPrinter(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

QImage renderFirstPage(const QString& pdf, QSize size) {
    QPdfDocument doc;
    if (doc.load(pdf) != QPdfDocument::Error::None || doc.pageCount() != 1)
        return {};
    // The page renders on a transparent ground; put it on paper.
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter(&page).drawImage(0, 0, doc.render(0, size));
    return page;
}

// Bounding box of the pixels `match` accepts.
template <typename Match> QRect boxOf(const QImage& page, Match match) {
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (match(page.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

// A landscape picture on a portrait page with 10 % margins: 80 % of the width, centred between
// the header and the footer, which are printed above and below it.
TEST(PrintBitmap, PlacesPictureBetweenHeaderAndFooter) {
    const QString pdf = makeTempDir() + "/page.pdf";
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    TIEFunctions ie;
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, pdf);
    ASSERT_TRUE(ie.PrintBitmap(printer, picture, 10, QStringLiteral("Job"),
                               QStringLiteral("Footer line"), QStringLiteral("Header line"), true,
                               true, 10));
    const QSize size(595, 842); // points of an A4 page, one pixel each
    const QImage page = renderFirstPage(pdf, size);
    ASSERT_FALSE(page.isNull());
    const QRect red =
        boxOf(page, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; });
    const QRect dark = boxOf(page, [](QRgb p) { return qGray(p) < 100 && qRed(p) < 100; });
    EXPECT_NEAR(red.width(), 0.8 * size.width(), 2);
    EXPECT_NEAR(red.height(), 0.4 * size.width(), 2);
    EXPECT_NEAR(red.center().x(), size.width() / 2.0, 2);
    // Area from top margin + 4 % header to bottom margin + 6 % footer: centre at 49 %.
    EXPECT_NEAR(red.center().y(), 0.49 * size.height(), 3);
    ASSERT_FALSE(dark.isEmpty());
    EXPECT_LT(dark.top(), red.top());       // header text above the picture
    EXPECT_GT(dark.bottom(), red.bottom()); // footer text below it
    EXPECT_GT(dark.top(), red.top() - 0.04 * size.height() - 2);
}

TEST(PrintBitmap, BusyOrMissingPrinterAndBadBitmap) {
    TIEFunctions ie;
    QSignalSpy messages(&ie, &TIEFunctions::OnMessage);
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);

    QPrinter busy;
    pdfPrinter(busy, makeTempDir() + "/busy.pdf");
    QPainter holder(&busy);
    EXPECT_FALSE(ie.PrintBitmap(busy, picture, 10, "J", {}, {}, true, true, 10));
    holder.end();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.at(0).at(0).toString(), u"Already printing... Please try again later!");

    QPrinter missing;
    pdfPrinter(missing, QStringLiteral("/nonexistent-folder/x.pdf"));
    EXPECT_FALSE(ie.PrintBitmap(missing, picture, 10, "J", {}, {}, true, true, 10));
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.at(1).at(0).toString(), u"Printer corrupt or not installed!");

    QPrinter printer;
    pdfPrinter(printer, makeTempDir() + "/null.pdf");
    try {
        ie.PrintBitmap(printer, QImage(), 10, "J", {}, {}, true, true, 10);
        ADD_FAILURE() << "a null bitmap printed";
    } catch (const EIEFunctionError& e) {
        EXPECT_EQ(e.message(), u"Bitmap load error");
    }
    EXPECT_NE(printer.printerState(), QPrinter::Active);
}
