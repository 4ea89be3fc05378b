#include "font_references.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <set>
#include <sstream>
#include <utility>

namespace harfcode {

std::optional<QByteArray> ran(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << (program + ' ' + arguments.join(u' ')).toStdString() << ": " << process.readAll().toStdString();
        return std::nullopt;
    }
    return process.readAll();
}

std::map<char32_t, RenderedGlyph> designedUnifont()
{
    std::set<char32_t> wanted;
    for (int slot = 2; slot <= kSlotCount; ++slot)
        wanted.insert(characterOfSlot(static_cast<Slot>(slot)));
    std::map<char32_t, RenderedGlyph> glyphs;
    QFile file(QString::fromLatin1(kUnifontHex));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << kUnifontHex;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(':');
        bool number = false;
        const auto character = static_cast<char32_t>(fields.front().toUInt(&number, 16));
        if (fields.size() != 2 || !number || !wanted.contains(character))
            continue;
        // 16 rows of 8 or 16 bits, the leftmost column in the top bit.
        const QByteArray bits = QByteArray::fromHex(fields[1]);
        const int width = int(bits.size()) / 2;
        RenderedGlyph& glyph = glyphs[character] = {width, 16, 0, 14, width, {}};
        for (int pixel = 0; pixel < 16 * width; ++pixel)
            glyph.ink.push_back(bits[pixel / 8] >> (7 - pixel % 8) & 1);
    }
    return glyphs;
}

std::unique_ptr<FontFace> openedFont(std::variant<std::unique_ptr<FontFace>, QString> opened)
{
    if (const QString* reason = std::get_if<QString>(&opened)) {
        ADD_FAILURE() << reason->toStdString();
        return nullptr;
    }
    return std::get<std::unique_ptr<FontFace>>(std::move(opened));
}

std::optional<DisplayFont> renderedFont(const FontFace* face, const CodeStrings& codes, Hinting hinting)
{
    if (!face)
        return std::nullopt;
    auto made = displayFont(*face, codes, hinting);
    if (const auto* error = std::get_if<DisplayFontError>(&made)) {
        ADD_FAILURE() << error->descriptions({}).join(u'\n').toStdString();
        return std::nullopt;
    }
    return std::get<DisplayFont>(std::move(made));
}

std::optional<DisplayFont> renderedFont(const QString& file, int size, const CodeStrings& codes, Hinting hinting)
{
    return renderedFont(openedFont(FontFace::open(file, size)).get(), codes, hinting);
}

std::optional<QByteArray> runWithFontHeader(const QByteArray& header, const QStringList& defines,
                                            const QStringList& arguments)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("font.h"));
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size()) {
        ADD_FAILURE() << "cannot write " << file.fileName().toStdString();
        return std::nullopt;
    }
    file.close();
    QStringList compile = {"-std=c99", "-Wall", "-Wextra", "-Werror", "-pedantic", "-include", file.fileName(),
                           "-DHARFCODE_FONT_IMPLEMENTATION", QDir(HARFCODE_FONT_TEST_DIR).filePath("draw_codes.c"),
                           "-o", dir.filePath("program")};
    for (const QString& define : defines)
        compile.append("-D" + define);
    if (!ran("cc", compile))
        return std::nullopt;
    return ran(dir.filePath("program"), arguments);
}

std::optional<ReadBackFont> readBackHeader(const QByteArray& header, const QStringList& defines)
{
    const std::optional<QByteArray> printed = runWithFontHeader(header, defines, {});
    if (!printed)
        return std::nullopt;
    std::istringstream in(printed->toStdString());
    ReadBackFont font;
    in >> font.height >> font.left;
    for (int code; in >> code;) {
        RenderedGlyph& glyph = font.glyphs[static_cast<std::uint8_t>(code)];
        in >> glyph.advance >> glyph.left >> glyph.top >> glyph.width >> glyph.rows;
        glyph.ink.resize(std::size_t(glyph.width) * std::size_t(glyph.rows));
        for (std::uint8_t& pixel : glyph.ink) {
            in >> pixel;  // a character, '0' or '1'
            pixel = pixel == '1';
        }
    }
    return font;
}

std::optional<ReadBackFont> readBackBdfFont(const QByteArray& bdf)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    const std::shared_ptr<void> done(nullptr, [&](void*) {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    });
    if (FT_Init_FreeType(&library) != 0
        || FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bdf.constData()), bdf.size(), 0, &face) != 0
        || FT_Select_Size(face, 0) != 0 || face->num_charmaps < 1 || FT_Set_Charmap(face, face->charmaps[0]) != 0) {
        ADD_FAILURE() << "FreeType does not read the BDF font";
        return std::nullopt;
    }
    ReadBackFont read;
    for (int code = 0; code <= 0xFF; ++code) {
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
        if (index == 0)
            continue;
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
            ADD_FAILURE() << "FreeType does not load the glyph at code " << code;
            return std::nullopt;
        }
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        RenderedGlyph& glyph = read.glyphs[std::uint8_t(code)] = {int(bitmap.width), int(bitmap.rows),
                                                                  face->glyph->bitmap_left, face->glyph->bitmap_top,
                                                                  int(face->glyph->advance.x >> 6), {}};
        for (int row = 0; row < glyph.rows; ++row)
            for (int column = 0; column < glyph.width; ++column)
                glyph.ink.push_back((bitmap.buffer[row * bitmap.pitch + column / 8] >> (7 - column % 8)) & 1);
    }
    return read;
}

std::string plainPbm(const QImage& picture)
{
    std::string pbm = "P1\n" + std::to_string(picture.width()) + " " + std::to_string(picture.height()) + "\n";
    for (int y = 0; y < picture.height(); ++y, pbm += '\n')
        for (int x = 0; x < picture.width(); ++x)
            pbm += qGray(picture.pixel(x, y)) < 0x80 ? '1' : '0';
    return pbm;
}

std::string drawing(const RenderedGlyph& glyph)
{
    std::set<std::pair<int, int>> ink;
    for (int row = 0; row < glyph.rows; ++row)
        for (int column = 0; column < glyph.width; ++column)
            if (glyph.inkAt(column, row))
                ink.emplace(glyph.left + column, glyph.top - row);
    std::string out = "advance " + std::to_string(glyph.advance) + ", ink at";
    for (const auto& [x, y] : ink)
        out += ' ' + std::to_string(x) + ',' + std::to_string(y);
    return out;
}

}  // namespace harfcode
