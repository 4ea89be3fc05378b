#include "font/font_face.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_BITMAP_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace harfcode {
namespace {

// FreeType's own words for its errors, from its list of them.
struct FreeTypeErrorText {
    FT_Error code;
    const char* text;
};
#undef FTERRORS_H_
#define FT_ERRORDEF(code, value, text) {value, text},
#define FT_ERROR_START_LIST {
#define FT_ERROR_END_LIST {0, nullptr}};
constexpr FreeTypeErrorText kFreeTypeErrors[] =
#include FT_ERRORS_H

QString freeTypeErrorText(FT_Error error)
{
    for (const FreeTypeErrorText& known : kFreeTypeErrors)
        if (known.text && known.code == error)
            return QString::fromLatin1(known.text);
    return QStringLiteral("error %1").arg(error);
}

GlyphFault freeTypeFault(FT_Error error)
{
    return {GlyphFault::Kind::FreeType, 0, 0, freeTypeErrorText(error)};
}

int pixels(FT_Pos value)  // 26.6 fixed point, rounded
{
    return static_cast<int>((value + 32) >> 6);
}

// The strikes of a bitmap face, in pixels per em.
std::vector<int> strikeSizes(FT_Face face)
{
    std::vector<int> sizes;
    for (int i = 0; i < face->num_fixed_sizes; ++i)
        sizes.push_back(pixels(face->available_sizes[i].y_ppem));
    return sizes;
}

QString sizeList(const std::set<int>& sizes)
{
    QStringList names;
    for (int size : sizes)
        names.append(QString::number(size));
    return names.join(QStringLiteral(", "));
}

// A bitmap font's ascent and descent beyond what its formats hold: FreeType clamps them, and
// the line height of a GFX header would wrap.
std::optional<QString> verticalMetricsProblem(FT_Face face)
{
    for (const char* property : {"FONT_ASCENT", "FONT_DESCENT"}) {
        BDF_PropertyRec value;
        if (FT_Get_BDF_Property(face, property, &value) != 0)
            continue;
        const qint64 number = value.type == BDF_PROPERTY_TYPE_INTEGER    ? qint64(value.u.integer)
                              : value.type == BDF_PROPERTY_TYPE_CARDINAL ? qint64(value.u.cardinal)
                                                                         : 0;
        if (number < 0 || number > 32767)
            return QStringLiteral("its %1 is %2, outside 0 to 32767").arg(QLatin1StringView(property)).arg(number);
    }
    return std::nullopt;
}

// Names of the naming table in UTF-16BE: those of Microsoft's and of Apple's Unicode platform.
bool isUtf16Name(const FT_SfntName& name)
{
    return name.platform_id == TT_PLATFORM_MICROSOFT || name.platform_id == TT_PLATFORM_APPLE_UNICODE;
}

QString utf16Name(const FT_SfntName& name)
{
    QString text;
    for (FT_UInt at = 0; at + 1 < name.string_len; at += 2)
        text += QChar(static_cast<char16_t>(name.string[at] << 8 | name.string[at + 1]));
    return text;
}

// A name of the font's naming table, in the encodings fonts use for it.
QString sfntName(FT_Face face, FT_UShort nameId)
{
    QString latin;
    for (FT_UInt i = 0, count = FT_Get_Sfnt_Name_Count(face); i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId)
            continue;
        if (isUtf16Name(name))
            return utf16Name(name);
        if (name.platform_id == TT_PLATFORM_MACINTOSH && latin.isEmpty())
            latin = QString::fromLatin1(reinterpret_cast<const char*>(name.string), name.string_len);
    }
    return latin;
}

bool isRegularFace(FT_Face face)
{
    return (face->style_flags & (FT_STYLE_FLAG_BOLD | FT_STYLE_FLAG_ITALIC)) == 0;
}

}  // namespace

struct FontFace::Handles {
    ~Handles()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    QByteArray bytes;  // what a face from memory reads, as long as it lives

    FT_Error openFace(FT_Long index)
    {
        if (face)
            FT_Done_Face(std::exchange(face, nullptr));
        return FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes.constData()), bytes.size(), index,
                                  &face);
    }
};

FontFace::FontFace(std::unique_ptr<Handles> handles, int pixelSize)
    : m_handles(std::move(handles))
    , m_pixelSize(pixelSize)
{
}

FontFace::~FontFace() = default;

std::variant<FontFileBytes, QString> readFontFile(const QString& file)
{
    auto opened = openForReading(file, Pipes::Refused);
    if (const QString* reason = std::get_if<QString>(&opened))
        return *reason;
    QFile& input = *std::get<std::unique_ptr<QFile>>(opened);
    const auto tooLarge = [](qint64 size) {
        return QStringLiteral("it is %1 bytes, more than the 256 MiB that any font needs")
            .arg(QLocale(QLocale::English).toString(size));
    };
    FontFileBytes font{{}, identityOf(input)};
    if (font.identity.size > kMaxFontFileBytes)
        return tooLarge(font.identity.size);
    // One byte more tells a file that grew meanwhile.
    font.bytes = input.read(kMaxFontFileBytes + 1);
    if (input.error() != QFileDevice::NoError)
        return input.errorString();
    if (font.bytes.size() > kMaxFontFileBytes)
        return tooLarge(font.bytes.size());
    return font;
}

std::variant<std::unique_ptr<FontFace>, QString> FontFace::open(const QString& file, std::optional<int> pixelSize,
                                                                int faceIndex)
{
    auto read = readFontFile(file);
    if (const QString* reason = std::get_if<QString>(&read))
        return *reason;
    return fromBytes(std::move(std::get<FontFileBytes>(read).bytes), pixelSize, faceIndex);
}

std::variant<std::unique_ptr<FontFace>, QString> FontFace::fromBytes(QByteArray bytes, std::optional<int> pixelSize,
                                                                     int faceIndex)
{
    auto handles = std::make_unique<Handles>();
    handles->bytes = std::move(bytes);
    if (FT_Init_FreeType(&handles->library) != 0)
        return QStringLiteral("FreeType cannot start");
    return openFaces(std::move(handles), pixelSize, faceIndex);
}

std::vector<FaceFamily> FontFace::faceFamilies(const QByteArray& bytes)
{
    std::vector<FaceFamily> faces;
    Handles handles;
    handles.bytes = bytes;
    if (FT_Init_FreeType(&handles.library) != 0)
        return faces;
    for (FT_Long index = 0; handles.openFace(index) == 0; ++index) {
        FaceFamily face{int(index), {}, isRegularFace(handles.face)};
        if (handles.face->family_name)
            face.names.append(QString::fromUtf8(handles.face->family_name));
        for (FT_UInt i = 0, count = FT_Get_Sfnt_Name_Count(handles.face); i < count; ++i) {
            FT_SfntName name;
            if (FT_Get_Sfnt_Name(handles.face, i, &name) == 0 && isUtf16Name(name)
                && (name.name_id == TT_NAME_ID_FONT_FAMILY || name.name_id == TT_NAME_ID_TYPOGRAPHIC_FAMILY))
                face.names.append(utf16Name(name));
        }
        faces.push_back(std::move(face));
        if (index + 1 >= handles.face->num_faces)
            break;
    }
    return faces;
}

std::variant<std::unique_ptr<FontFace>, QString> FontFace::openFaces(std::unique_ptr<Handles> handles,
                                                                     std::optional<int> pixelSize, int faceIndex)
{
    if (handles->openFace(faceIndex) != 0)
        return QStringLiteral("it is not a font that FreeType can read");
    if (const std::optional<QString> problem = verticalMetricsProblem(handles->face))
        return *problem;
    if (FT_IS_SCALABLE(handles->face)) {
        if (!pixelSize)
            return QStringLiteral("it is a scalable font: give the pixel size with --size");
        if (FT_Set_Pixel_Sizes(handles->face, 0, static_cast<FT_UInt>(*pixelSize)) != 0)
            return QStringLiteral("FreeType cannot set it to %1 pixels").arg(*pixelSize);
        return std::unique_ptr<FontFace>(new FontFace(std::move(handles), *pixelSize));
    }
    // A bitmap font: the strike of that size, in whichever of its faces has it.
    std::set<int> sizes;
    const FT_Long faceCount = handles->face->num_faces;
    for (FT_Long index = 0; index < faceCount; ++index) {
        if (index != handles->face->face_index && handles->openFace(index) != 0)
            continue;
        const std::vector<int> strikes = strikeSizes(handles->face);
        sizes.insert(strikes.begin(), strikes.end());
        for (std::size_t strike = 0; strike < strikes.size(); ++strike) {
            const bool wanted = pixelSize ? strikes[strike] == *pixelSize : faceCount == 1 && strikes.size() == 1;
            if (wanted && FT_Select_Size(handles->face, static_cast<FT_Int>(strike)) == 0)
                return std::unique_ptr<FontFace>(new FontFace(std::move(handles), strikes[strike]));
        }
    }
    if (sizes.empty())
        return QStringLiteral("it has neither outlines nor bitmaps");
    if (!pixelSize)
        return QStringLiteral("it is a bitmap font of the sizes %1: choose one with --size").arg(sizeList(sizes));
    return QStringLiteral("it is a bitmap font without the size %1; its sizes are %2").arg(*pixelSize).arg(sizeList(sizes));
}

bool RenderedGlyph::hasInk() const
{
    return std::any_of(ink.begin(), ink.end(), [](std::uint8_t pixel) { return pixel != 0; });
}

QString GlyphFault::description(const QString& glyph) const
{
    switch (kind) {
    case Kind::Missing:
        break;
    case Kind::Empty:
        return QStringLiteral("the font's glyph for %1, is empty").arg(glyph);
    case Kind::TooLarge:
        return QStringLiteral("the font's glyph for %1, is too large: %2 × %3 pixels, more than the %4 a glyph may have")
            .arg(glyph)
            .arg(width)
            .arg(rows)
            .arg(kMaxGlyphPixels);
    case Kind::BrokenBitmap:
        return QStringLiteral("the font's glyph for %1, is a broken bitmap: its pixels are missing or cut short").arg(glyph);
    case Kind::FreeType:
        return QStringLiteral("FreeType cannot render the font's glyph for %1: %2").arg(glyph, freeTypeError);
    }
    return QStringLiteral("the font has no glyph for %1").arg(glyph);
}

std::variant<RenderedGlyph, GlyphFault> FontFace::render(char32_t character, Hinting hinting) const
{
    FT_Face face = m_handles->face;
    const FT_UInt index = FT_Get_Char_Index(face, character);
    if (index == 0)
        return GlyphFault{};
    FT_Int32 flags = FT_LOAD_TARGET_MONO;
    switch (hinting) {
    case Hinting::Auto: flags |= FT_LOAD_FORCE_AUTOHINT; break;
    case Hinting::Font: flags |= FT_LOAD_NO_AUTOHINT; break;
    case Hinting::None: flags |= FT_LOAD_NO_HINTING; break;
    }
    // Loaded first and rendered after, so that an outline of no points is told from one that
    // has no ink at this size: a font cut short keeps its character map but loses its outlines.
    if (const FT_Error error = FT_Load_Glyph(face, index, flags))
        return freeTypeFault(error);
    const FT_GlyphSlot slot = face->glyph;
    const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
    const bool noPoints = outline && slot->outline.n_points == 0;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP)
        if (const FT_Error error = FT_Render_Glyph(slot, FT_RENDER_MODE_MONO))
            return freeTypeFault(error);
    FT_Bitmap bitmap;
    FT_Bitmap_Init(&bitmap);
    // The renderer gives one bit per pixel; a font's own bitmaps may hold grey levels, which
    // are ink from half on.
    const bool mono = slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if (!mono) {
        if (const FT_Error error = FT_Bitmap_Convert(m_handles->library, &slot->bitmap, &bitmap, 1)) {
            FT_Bitmap_Done(m_handles->library, &bitmap);
            return freeTypeFault(error);
        }
    }
    const FT_Bitmap& source = mono ? slot->bitmap : bitmap;
    const std::uint64_t area = std::uint64_t(source.width) * source.rows;
    if (source.width > kMaxGlyphPixels || source.rows > kMaxGlyphPixels || area > kMaxGlyphPixels) {
        FT_Bitmap_Done(m_handles->library, &bitmap);
        return GlyphFault{GlyphFault::Kind::TooLarge, source.width, source.rows, {}};
    }
    // A broken font may leave a bitmap without its pixels, or with rows shorter than its width.
    const std::uint64_t rowBytes = mono ? (std::uint64_t(source.width) + 7) / 8 : source.width;
    if (area != 0 && (!source.buffer || std::uint64_t(std::abs(source.pitch)) < rowBytes)) {
        FT_Bitmap_Done(m_handles->library, &bitmap);
        return GlyphFault{GlyphFault::Kind::BrokenBitmap, 0, 0, {}};
    }
    RenderedGlyph glyph;
    glyph.width = static_cast<int>(source.width);
    glyph.rows = static_cast<int>(source.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = pixels(slot->advance.x);
    glyph.ink.resize(static_cast<std::size_t>(area));
    for (int row = 0; row < glyph.rows; ++row) {
        // A negative pitch stores the rows from the bottom up.
        const std::ptrdiff_t stored = source.pitch >= 0 ? row : glyph.rows - 1 - row;
        const unsigned char* line = source.buffer + stored * std::abs(source.pitch);
        for (int column = 0; column < glyph.width; ++column) {
            const bool ink = mono ? (line[column >> 3] >> (7 - (column & 7))) & 1 : line[column] >= 0x80;
            glyph.ink[static_cast<std::size_t>(row * glyph.width + column)] = ink;
        }
    }
    FT_Bitmap_Done(m_handles->library, &bitmap);
    glyph.fromNoData = noPoints || (!outline && !glyph.hasInk());
    return glyph;
}

int FontFace::ascender() const
{
    return pixels(m_handles->face->size->metrics.ascender);
}

int FontFace::descender() const
{
    return pixels(m_handles->face->size->metrics.descender);
}

int FontFace::faceIndex() const
{
    return int(m_handles->face->face_index & 0xFFFF);
}

int FontFace::faceCount() const
{
    return int(m_handles->face->num_faces);
}

QString FontFace::family() const
{
    return QString::fromUtf8(m_handles->face->family_name ? m_handles->face->family_name : "");
}

QString FontFace::copyright() const
{
    FT_Face face = m_handles->face;
    if (FT_IS_SFNT(face))
        return sfntName(face, TT_NAME_ID_COPYRIGHT);
    BDF_PropertyRec property;
    if (FT_Get_BDF_Property(face, "COPYRIGHT", &property) == 0 && property.type == BDF_PROPERTY_TYPE_ATOM
        && property.u.atom)
        return QString::fromLatin1(property.u.atom);
    return {};
}

}  // namespace harfcode
