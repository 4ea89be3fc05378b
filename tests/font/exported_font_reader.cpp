#include "exported_font_reader.h"

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
#include <vector>

namespace harfcode {
namespace {

std::optional<QByteArray> finished(QProcess& process, const std::string& what)
{
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << what << ": " << process.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

// Ink at `bit` of `bytes` counted from the top bit of the first, or a failure past the end.
bool topFirstBit(const std::vector<unsigned>& bytes, std::size_t bit, bool& outside)
{
    outside = outside || bit / 8 >= bytes.size();
    return !outside && (bytes[bit / 8] >> (7 - bit % 8) & 1);
}

std::set<std::pair<int, int>> inkFromPen(const RenderedGlyph& glyph)
{
    std::set<std::pair<int, int>> ink;
    for (int row = 0; row < glyph.rows; ++row)
        for (int column = 0; column < glyph.width; ++column)
            if (glyph.inkAt(column, row))
                ink.emplace(glyph.left + column, glyph.top - row);
    return ink;
}

}  // namespace

std::optional<QByteArray> runWithFontHeader(const QByteArray& header, const QString& source, const QStringList& defines,
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
                           "-DHARFCODE_FONT_IMPLEMENTATION"};
    for (const QString& define : defines)
        compile.append("-D" + define);
    compile += {QDir(HARFCODE_FONT_TEST_DIR).filePath(source), "-o", dir.filePath("program")};
    QProcess compiler;
    compiler.start("cc", compile);
    if (!finished(compiler, "cc " + source.toStdString()))
        return std::nullopt;
    QProcess program;
    program.start(dir.filePath("program"), arguments);
    return finished(program, source.toStdString() + " " + arguments.join(u' ').toStdString());
}

std::optional<ReadBackFont> readBackCFont(const QByteArray& header, BitmapBits bits)
{
    const std::optional<QByteArray> printed = runWithFontHeader(header, "dump_c_font.c", {}, {});
    if (!printed)
        return std::nullopt;
    std::istringstream in(printed->toStdString());
    ReadBackFont font;
    int baseline = 0;
    in >> font.height >> baseline;
    struct Entry {
        unsigned offset, columns, advance, origin;
    };
    std::vector<Entry> index(256);
    for (Entry& entry : index)
        in >> entry.offset >> entry.columns >> entry.advance >> entry.origin;
    std::vector<unsigned> bytes;
    for (unsigned byte; in >> byte;)
        bytes.push_back(byte);

    const int columnBytes = (font.height + 7) / 8;
    bool outside = false;
    for (int code = 0; code < 256; ++code) {
        const Entry& entry = index[static_cast<std::size_t>(code)];
        if (entry.advance == 0 && entry.columns == 0)
            continue;
        RenderedGlyph glyph{int(entry.columns), font.height, -int(entry.origin), baseline, int(entry.advance), {}};
        const int rowBytes = (glyph.width + 7) / 8;
        for (int row = 0; row < glyph.rows; ++row)
            for (int column = 0; column < glyph.width; ++column) {
                bool ink;
                if (bits == BitmapBits::Rows) {
                    ink = topFirstBit(bytes, 8 * (entry.offset + std::size_t(row * rowBytes)) + std::size_t(column), outside);
                } else {
                    const std::size_t byte = entry.offset + std::size_t(column * columnBytes + row / 8);
                    outside = outside || byte >= bytes.size();
                    ink = !outside && (bytes[byte] >> (row % 8) & 1);
                }
                glyph.ink.push_back(ink);
            }
        font.glyphs[static_cast<std::uint8_t>(code)] = std::move(glyph);
    }
    if (outside) {
        ADD_FAILURE() << "a bitmap of the C header reaches past its bits";
        return std::nullopt;
    }
    return font;
}

std::optional<ReadBackFont> readBackGfxFont(const QByteArray& header)
{
    const std::optional<QByteArray> printed = runWithFontHeader(header, "dump_gfx_font.c", {}, {});
    if (!printed)
        return std::nullopt;
    std::istringstream in(printed->toStdString());
    ReadBackFont font;
    unsigned first = 0, last = 0;
    in >> first >> last >> font.yAdvance;
    struct Entry {
        unsigned offset, width, height, xAdvance;
        int xOffset, yOffset;
    };
    std::vector<Entry> glyphs(last - first + 1);
    for (Entry& entry : glyphs)
        in >> entry.offset >> entry.width >> entry.height >> entry.xAdvance >> entry.xOffset >> entry.yOffset;
    std::vector<unsigned> bytes;
    for (unsigned byte; in >> byte;)
        bytes.push_back(byte);

    bool outside = false;
    for (unsigned code = first; code <= last; ++code) {
        const Entry& entry = glyphs[code - first];
        if (entry.width == 0 && entry.height == 0 && entry.xAdvance == 0)
            continue;
        // As Adafruit_GFX::drawChar() reads it: one bit after the other from the glyph's first byte,
        // the pixel at (xOffset + x, yOffset + y) from the cursor, whose row is the last above the baseline.
        RenderedGlyph glyph{int(entry.width), int(entry.height), entry.xOffset, 1 - entry.yOffset, int(entry.xAdvance), {}};
        for (std::size_t pixel = 0; pixel < std::size_t(glyph.width) * std::size_t(glyph.rows); ++pixel)
            glyph.ink.push_back(topFirstBit(bytes, 8 * std::size_t(entry.offset) + pixel, outside));
        font.glyphs[static_cast<std::uint8_t>(code)] = std::move(glyph);
    }
    if (outside) {
        ADD_FAILURE() << "a bitmap of the GFX font reaches past its bitmaps";
        return std::nullopt;
    }
    return font;
}

std::optional<std::string> drawingDifference(const RenderedGlyph& drawn, const RenderedGlyph& expected)
{
    if (drawn.advance != expected.advance)
        return "advance " + std::to_string(drawn.advance) + ", expected " + std::to_string(expected.advance);
    const std::set<std::pair<int, int>> drawnInk = inkFromPen(drawn);
    const std::set<std::pair<int, int>> expectedInk = inkFromPen(expected);
    for (const auto& [x, y] : drawnInk)
        if (!expectedInk.contains({x, y}))
            return "ink at " + std::to_string(x) + "," + std::to_string(y) + " from the pen, where there is none";
    for (const auto& [x, y] : expectedInk)
        if (!drawnInk.contains({x, y}))
            return "no ink at " + std::to_string(x) + "," + std::to_string(y) + " from the pen";
    return std::nullopt;
}

std::optional<ReadBackFont> readBackBdfFont(const QByteArray& bdf)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    const auto done = [&](std::optional<ReadBackFont> read) {
        if (face)
            FT_Done_Face(face);
        FT_Done_FreeType(library);
        return read;
    };
    if (FT_Init_FreeType(&library) != 0
        || FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bdf.constData()), bdf.size(), 0, &face) != 0
        || FT_Select_Size(face, 0) != 0 || face->num_charmaps < 1 || FT_Set_Charmap(face, face->charmaps[0]) != 0) {
        ADD_FAILURE() << "FreeType does not read the BDF font";
        return done(std::nullopt);
    }
    ReadBackFont read;
    for (int code = 0; code <= 0xFF; ++code) {
        const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
        if (index == 0)
            continue;
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
            ADD_FAILURE() << "FreeType does not load the glyph at code " << code;
            return done(std::nullopt);
        }
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        RenderedGlyph& glyph = read.glyphs[std::uint8_t(code)];
        glyph = {int(bitmap.width), int(bitmap.rows), face->glyph->bitmap_left, face->glyph->bitmap_top,
                 int(face->glyph->advance.x >> 6), {}};
        for (int row = 0; row < glyph.rows; ++row)
            for (int column = 0; column < glyph.width; ++column)
                glyph.ink.push_back((bitmap.buffer[row * bitmap.pitch + column / 8] >> (7 - column % 8)) & 1);
    }
    return done(read);
}

}  // namespace harfcode
