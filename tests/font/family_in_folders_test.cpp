// A family found among the font files of folders, as Windows finds its installed fonts and
// Linux finds Wine's: by any name of the family, the regular face before the others.
#include "font/family_in_folders.h"
#include "font_references.h"
#include "support/file_bytes.h"
#include "support/font_collection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(FamilyInFolders, FindsTheRegularFaceOfAFamilyByAnyOfItsNames)
{
    const QString dejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkdir("first") && root.mkdir("second"));
    const QString first = root.filePath("first");
    const QString second = root.filePath("second");
    // Bold Tahoma before the regular one by name.
    writeBytes(first + "/a.ttf", bytesOf(QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")));
    writeBytes(first + "/b.ttf", bytesOf(kTahoma));
    // FreeType names the condensed face's family "DejaVu Sans"; its naming table, as Windows
    // lists it, "DejaVu Sans Condensed".
    writeBytes(first + "/c.ttc", fontCollection({bytesOf(dejaVu + "DejaVuSerif-Bold.ttf"), bytesOf(dejaVu + "DejaVuSansCondensed.ttf")}));
    writeBytes(second + "/d.ttf", bytesOf(dejaVu + "DejaVuSerif.ttf"));
    writeBytes(second + "/E.TTF", bytesOf(dejaVu + "DejaVuSansMono-Bold.ttf"));

    struct Case {
        const char* family;
        std::optional<FontFile> found;
    };
    const Case cases[] = {
        {"Tahoma", FontFile{first + "/b.ttf", 0}},
        {"tAHOMA", FontFile{first + "/b.ttf", 0}},
        {"DejaVu Sans Condensed", FontFile{first + "/c.ttc", 1}},
        {"DejaVu Sans", FontFile{first + "/c.ttc", 1}},
        // A later folder's regular face before an earlier folder's bold one.
        {"DejaVu Serif", FontFile{second + "/d.ttf", 0}},
        // Bold alone: bold it is.
        {"DejaVu Sans Mono", FontFile{second + "/E.TTF", 0}},
        {"DejaVu", std::nullopt},
        {"Nosuchfamily", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<FontFile> found = familyInFolders(QString::fromUtf8(c.family), {first, second});
        EXPECT_EQ(found.has_value(), c.found.has_value()) << c.family;
        if (found && c.found) {
            EXPECT_EQ(found->path.toStdString(), c.found->path.toStdString()) << c.family;
            EXPECT_EQ(found->faceIndex, c.found->faceIndex) << c.family;
        }
    }
}

}  // namespace
}  // namespace harfcode
