#pragma once

#include "files/file_access.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace harfcode {

// A glyph bitmap of more pixels per em is no display's.
inline constexpr int kMaxPixelSize = 1000;

// How FreeType fits outlines to the pixel grid before the monochrome renderer runs.
enum class Hinting {
    Auto,  // FreeType's autohinter, which knows Arabic script
    Font,  // the font's own instructions
    None,
};

// The hintings by the names that the converter's --hinting gives them.
inline constexpr std::pair<Hinting, const char*> kHintingNames[] = {
    {Hinting::Auto, "auto"}, {Hinting::Font, "font"}, {Hinting::None, "none"},
};

// One glyph as FreeType renders it: ink or none per pixel.
struct RenderedGlyph {
    int width = 0;  // columns of the bitmap
    int rows = 0;
    int left = 0;   // from the pen's origin to the bitmap's left column
    int top = 0;    // from the baseline up to the bitmap's top row
    int advance = 0;  // how far the pen moves, in whole pixels
    std::vector<std::uint8_t> ink;  // rows × width, row by row from the top; 1 is ink
    // The font holds nothing for it: an outline of no points, or a bitmap without pixels or
    // ink. Right for a blank; for anything else a font that is broken (cut short, say).
    bool fromNoData = false;

    bool inkAt(int column, int row) const { return ink[static_cast<std::size_t>(row * width + column)] != 0; }
    bool hasInk() const;
};

// Beyond this a glyph is no display's: a broken font, or a size no display has.
inline constexpr std::uint64_t kMaxGlyphPixels = std::uint64_t(1) << 22;

// Why the glyph of a character cannot be drawn.
struct GlyphFault {
    enum class Kind {
        Missing,       // the font maps no glyph to the character
        Empty,         // it holds nothing (RenderedGlyph::fromNoData) where ink is due
        TooLarge,      // more than kMaxGlyphPixels, or a side beyond them
        BrokenBitmap,  // a bitmap without its buffer, or with rows shorter than its width
        FreeType,      // FreeType could not load or render it
    };
    Kind kind = Kind::Missing;
    std::uint64_t width = 0;  // the bitmap's size, where it is too large
    std::uint64_t rows = 0;
    QString freeTypeError;  // FreeType's words, where it failed

    // `glyph` names the glyph: "the font has no glyph for slot 26 (U+FEB3 "ﺳ"), code 5A", "the
    // font's glyph for slot 26 (U+FEB3 "ﺳ"), code 5A, is empty"...
    QString description(const QString& glyph) const;
};

// No font comes near this; a larger file is refused before it is read.
inline constexpr qint64 kMaxFontFileBytes = qint64(256) << 20;

// A font file read whole, and what tells whether it has changed since.
struct FontFileBytes {
    QByteArray bytes;
    FileIdentity identity;
};

// The bytes of the font file at `file`, or why they cannot be had: what is not a regular file
// is refused by what it is, a file beyond kMaxFontFileBytes by its size, unread.
std::variant<FontFileBytes, QString> readFontFile(const QString& file);

// A face of a font file by the names of its family, which a family name given for a font is
// matched with: FreeType's, and the naming table's family names in every language (among them
// the one that Windows lists the face under, which may name its weight: "Segoe UI Semibold").
struct FaceFamily {
    int faceIndex = 0;
    QStringList names;
    bool regular = false;  // neither bold nor italic
};

// A font file opened at one pixel size.
class FontFace {
public:
    // Face `faceIndex` of the font in `file` (any format FreeType reads: TrueType, OpenType,
    // BDF, PCF...) at `pixelSize` pixels per em; a bitmap font may leave it out when it has one
    // size. Or why it cannot be had: no font file, not a font, a size it lacks (naming the
    // sizes it has).
    static std::variant<std::unique_ptr<FontFace>, QString> open(const QString& file, std::optional<int> pixelSize,
                                                                 int faceIndex = 0);
    // The same from the font file's bytes.
    static std::variant<std::unique_ptr<FontFace>, QString> fromBytes(QByteArray bytes, std::optional<int> pixelSize,
                                                                      int faceIndex = 0);
    // The faces of the font file `bytes`, each at no size; none where FreeType cannot read it.
    static std::vector<FaceFamily> faceFamilies(const QByteArray& bytes);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The glyph of `character`, or why it cannot be had.
    std::variant<RenderedGlyph, GlyphFault> render(char32_t character, Hinting hinting) const;

    int pixelSize() const { return m_pixelSize; }
    int ascender() const;   // pixels above the baseline
    int descender() const;  // pixels below it, negative
    int faceIndex() const;  // which face of a collection it is; 0 for a single font
    int faceCount() const;  // the faces of its file
    QString family() const;
    QString copyright() const;  // empty where the font names none

private:
    struct Handles;
    explicit FontFace(std::unique_ptr<Handles> handles, int pixelSize);
    static std::variant<std::unique_ptr<FontFace>, QString> openFaces(std::unique_ptr<Handles> handles,
                                                                      std::optional<int> pixelSize, int faceIndex);

    std::unique_ptr<Handles> m_handles;
    int m_pixelSize;
};

}  // namespace harfcode
