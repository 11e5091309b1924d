#include "TestEnvironment.h"
#include "TestPictures.h"
#include "imaging/IEFunctions.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

TEST(GetImageProperties, ReadsHeadersOfEachFormat) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 41;
    recipe.height = 23;
    const QImage rgb = patternImage(recipe);
    QImage argb = rgb.convertToFormat(QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(1, 2, 3, 4));
    JpegRecipe grey = recipe;
    grey.color = JpegRecipe::Color::Grey;
    JpegRecipe cmyk = recipe;
    cmyk.color = JpegRecipe::Color::CMYK;
    JpegRecipe withExif = recipe;
    withExif.exif = true;
    withExif.exifThumbnail = true;
    struct Case {
        const char* name;
        QByteArray data;
        int type;
        const char* typeName;
        int bits;
        const char* colors;
    };
    const Case cases[] = {
        {"rgb.jpg", makeJpeg(recipe), iftJPEG, "JPEG Image", 24, "16 Million"},
        {"exif.jpg", makeJpeg(withExif), iftJPEG, "JPEG Image", 24, "16 Million"},
        {"grey.jpg", makeJpeg(grey), iftJPEG, "JPEG Image", 8, "256"},
        {"cmyk.jpg", makeJpeg(cmyk), iftJPEG, "JPEG Image", 32, "4 Billion"},
        {"rgba.png", encodeImage(argb, "png"), iftPNG, "PNG Image", 32, "4 Billion"},
        {"rgb.png", encodeImage(rgb.convertToFormat(QImage::Format_RGB888), "png"), iftPNG,
         "PNG Image", 24, "16 Million"},
        {"pal.bmp", encodeImage(rgb.convertToFormat(QImage::Format_Indexed8), "bmp"), iftBMP,
         "Windows Bitmap", 8, "256"},
        {"rgb.bmp", encodeImage(rgb, "bmp"), iftBMP, "Windows Bitmap", 24, "16 Million"},
        {"rgb.pcx", encodeImage(rgb, "pcx"), iftPCX, "PCX Image", 24, "16 Million"},
        {"rgb.tif", encodeImage(rgb, "tiff"), iftTIFF, "TIFF Image", 24, "16 Million"},
        {"icon.ico", encodeImage(argb, "ico"), iftICO, "Icon Resource", 32, "4 Billion"},
        // Content decides, not the name.
        {"png.jpg", encodeImage(argb, "png"), iftPNG, "PNG Image", 32, "4 Billion"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TImageProperties p = TIEFunctions::GetImageProperties(writeFile(dir, c.name, c.data));
        EXPECT_EQ(p.FileType, c.type);
        EXPECT_EQ(p.FileTypeName, QString::fromLatin1(c.typeName));
        EXPECT_EQ(p.Width, 41);
        EXPECT_EQ(p.Height, 23);
        EXPECT_EQ(p.BitsPerPixel, c.bits);
        EXPECT_EQ(p.ColorsName, QString::fromLatin1(c.colors));
        EXPECT_EQ(p.Scale, 1);
    }
}

TEST(GetImageProperties, UnreadableFilesGiveTheResetRecord) {
    const QString dir = makeTempDir();
    const QByteArray jpeg = makeJpeg(JpegRecipe{});
    const TImageProperties reset{0, QString(), 0, 0, 0, QString(), 1};
    for (const auto& [name, data] :
         {std::pair{"empty.jpg", QByteArray()}, std::pair{"cut.jpg", jpeg.left(20)},
          std::pair{"text.jpg", QByteArray("not a picture at all")}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(TIEFunctions::GetImageProperties(writeFile(dir, name, data)), reset);
    }
    EXPECT_EQ(TIEFunctions::GetImageProperties(dir + "/gone.jpg"), reset);
    EXPECT_EQ(TIEFunctions::GetImageSize(dir + "/gone.jpg"), QSize(0, 0));
}

TEST(GetImageProperties, NamesTypesAndColourDepths) {
    EXPECT_EQ(FileTypeName(iftEMF), u"Enhanced Windows Metafile");
    EXPECT_EQ(FileTypeName(11), u"Unknown");
    EXPECT_EQ(ColorsName(1), u"2");
    EXPECT_EQ(ColorsName(16), u"65,536");
    EXPECT_EQ(ColorsName(48), u"Unknown");
}
