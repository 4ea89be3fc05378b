#include "font/png_format.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(PngFormat, HoldsThePictureAndItsNotesTheSameEveryTime)
{
    QImage picture(5, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.scanLine(y)[x] = uchar((x * 7 + y * 31) * 11);
    const FontExportSource source{"harfcode-cli 1.0", "harfcode-cli --font Unifont --size 16 --font-format png",
                                  "/fonts/unifont.otf", "Unifont", QString::fromUtf8("© GNU"), 16};
    const auto first = pngFile(picture, source);
    const auto second = pngFile(picture, source);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(first));
    EXPECT_EQ(first, second);

    const QImage read = QImage::fromData(std::get<QByteArray>(first), "PNG");
    EXPECT_EQ(read.convertToFormat(QImage::Format_Grayscale8), picture);
    const std::pair<const char*, QString> notes[] = {
        {"Software", "harfcode-cli 1.0"},
        {"Source", "/fonts/unifont.otf (Unifont, 16 px)"},
        {"Comment", "Command: harfcode-cli --font Unifont --size 16 --font-format png"},
        {"Copyright", QString::fromUtf8("© GNU")},
    };
    for (const auto& [key, text] : notes)
        EXPECT_EQ(read.text(key), text) << key;
}

}  // namespace
}  // namespace harfcode
