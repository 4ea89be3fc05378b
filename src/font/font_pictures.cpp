#include "font/font_pictures.h"

#include "font/glyph_ink.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace harfcode {
namespace {

constexpr int kGridSize = 16;
constexpr int kLine = 1;    // grid lines
constexpr int kMargin = 1;  // around a cell's contents, and between its label and glyph

// A picture being drawn, in the display's pixels.
class Canvas {
public:
    // A white picture of at least one pixel, or why there is none.
    static std::variant<Canvas, QString> blank(qint64 width, qint64 height, int zoom)
    {
        if (zoom < 1 || zoom > kMaxZoom)
            return QStringLiteral("the zoom is %1; it is 1 to %2").arg(zoom).arg(kMaxZoom);
        const qint64 zoomedWidth = std::max<qint64>(width, 1) * zoom;
        const qint64 zoomedHeight = std::max<qint64>(height, 1) * zoom;
        if (zoomedWidth > kMaxPictureSide || zoomedHeight > kMaxPictureSide
            || zoomedWidth * zoomedHeight > kMaxPicturePixels)
            return QStringLiteral("the picture would be %1 × %2 pixels; a picture has at most %3 pixels a side and "
                                  "%4 in all")
                .arg(zoomedWidth)
                .arg(zoomedHeight)
                .arg(kMaxPictureSide)
                .arg(kMaxPicturePixels);
        QImage image(int(zoomedWidth), int(zoomedHeight), QImage::Format_Grayscale8);
        if (image.isNull())
            return QStringLiteral("there is no memory for a picture of %1 × %2 pixels").arg(zoomedWidth).arg(zoomedHeight);
        image.fill(kPaperShade);
        return Canvas(std::move(image), zoom);
    }

    // One pixel of the display; nothing outside the picture.
    void paint(qint64 x, qint64 y, std::uint8_t shade)
    {
        if (x < 0 || y < 0 || x >= m_image.width() / m_zoom || y >= m_image.height() / m_zoom)
            return;
        for (int row = 0; row < m_zoom; ++row)
            std::memset(m_image.scanLine(int(y) * m_zoom + row) + x * m_zoom, shade, std::size_t(m_zoom));
    }

    void fill(qint64 x, qint64 y, qint64 width, qint64 height, std::uint8_t shade)
    {
        for (qint64 row = y; row < y + height; ++row)
            for (qint64 column = x; column < x + width; ++column)
                paint(column, row, shade);
    }

    // The glyphs of `run`, the first at `originX`, on the baseline above row `baselineY`.
    void draw(const Run& run, qint64 originX, qint64 baselineY, std::uint8_t shade)
    {
        qint64 pen = originX;
        for (const auto& [glyph, ink] : run) {
            for (int row = ink.top; row < ink.bottom; ++row)
                for (int column = ink.left; column < ink.right; ++column)
                    if (glyph->inkAt(column, row))
                        paint(pen + glyph->left + column, baselineY - glyph->top + row, shade);
            pen += glyph->advance;
        }
    }

    QImage take() { return std::move(m_image); }

private:
    Canvas(QImage image, int zoom)
        : m_image(std::move(image))
        , m_zoom(zoom)
    {
    }

    QImage m_image;
    int m_zoom;
};

// The sheet's labels: how far above and below the baseline their ink reaches, over all sixteen
// digits, so that every cell's label stands on the same baseline.
struct LabelLine {
    int above = 0;
    int below = 0;
    int height() const { return above + below; }
};

LabelLine labelLine(const std::vector<RunGlyph>& digits)
{
    LabelLine line;
    bool inked = false;
    for (const auto& [digit, ink] : digits) {
        if (ink.empty())
            continue;
        line.above = inked ? std::max(line.above, digit->top - ink.top) : digit->top - ink.top;
        line.below = inked ? std::max(line.below, ink.bottom - digit->top) : ink.bottom - digit->top;
        inked = true;
    }
    return line;
}

}  // namespace

std::variant<QImage, QString> glyphSheet(const DisplayFont& font, const HexDigitGlyphs& labels, int zoom)
{
    std::vector<RunGlyph> digits;
    for (const RenderedGlyph& digit : labels.digits)
        digits.push_back(runGlyph(digit));
    const auto labelOf = [&](std::uint8_t code) { return Run{digits[code >> 4], digits[code & 0xF]}; };

    // Every glyph alone, at one origin: the leftmost and rightmost reach of any.
    RowReach glyphs;
    qint64 labelWidth = 0;
    for (const DisplayGlyph& glyph : font.glyphs) {
        const RowReach reach = reachOf({runGlyph(glyph.bitmap)});
        glyphs = {std::min(glyphs.left, reach.left), std::max(glyphs.right, reach.right)};
        labelWidth = std::max(labelWidth, reachOf(labelOf(glyph.code)).width());
    }
    const LabelLine line = labelLine(digits);
    const qint64 cellWidth = kMargin + std::max(glyphs.width(), labelWidth) + kMargin;
    const qint64 cellHeight = kMargin + line.height() + kMargin + font.height + kMargin;
    const qint64 pitchX = kLine + cellWidth;
    const qint64 pitchY = kLine + cellHeight;
    auto blank = Canvas::blank(kGridSize * pitchX + kLine, kGridSize * pitchY + kLine, zoom);
    if (const QString* reason = std::get_if<QString>(&blank))
        return *reason;
    Canvas& canvas = std::get<Canvas>(blank);

    for (int gridLine = 0; gridLine <= kGridSize; ++gridLine) {
        canvas.fill(gridLine * pitchX, 0, kLine, kGridSize * pitchY + kLine, kGridShade);
        canvas.fill(0, gridLine * pitchY, kGridSize * pitchX + kLine, kLine, kGridShade);
    }
    for (const DisplayGlyph& glyph : font.glyphs) {
        const qint64 left = (glyph.code & 0xF) * pitchX + kLine + kMargin;
        const qint64 top = (glyph.code >> 4) * pitchY + kLine + kMargin;
        const Run label = labelOf(glyph.code);
        canvas.draw(label, left - reachOf(label).left, top + line.above, kLabelShade);
        canvas.draw({runGlyph(glyph.bitmap)}, left - glyphs.left, top + line.height() + kMargin + font.baseline,
                    kInkShade);
    }
    return canvas.take();
}

GlyphRows glyphRows(const DisplayFont& font, const std::vector<QByteArray>& rows)
{
    GlyphRows glyphs;
    glyphs.reserve(rows.size());
    for (const QByteArray& codes : rows) {
        std::vector<const DisplayGlyph*>& row = glyphs.emplace_back();
        row.reserve(std::size_t(codes.size()));
        for (const char code : codes)
            row.push_back(font.glyphAt(static_cast<std::uint8_t>(code)));
    }
    return glyphs;
}

std::variant<QImage, QString> sampleText(const DisplayFont& font, const std::vector<QByteArray>& rows, int zoom)
{
    return sampleText(font, glyphRows(font, rows), zoom);
}

namespace {

// The rows as runs, each glyph's ink found once: a sample shows the same few glyphs many times.
std::vector<Run> runsOf(const GlyphRows& rows)
{
    std::unordered_map<const DisplayGlyph*, RunGlyph> found;
    std::vector<Run> runs;
    runs.reserve(rows.size());
    for (const std::vector<const DisplayGlyph*>& glyphs : rows) {
        Run& run = runs.emplace_back();
        for (const DisplayGlyph* glyph : glyphs) {
            if (!glyph)
                continue;
            auto known = found.find(glyph);
            if (known == found.end())
                known = found.emplace(glyph, runGlyph(glyph->bitmap)).first;
            run.push_back(known->second);
        }
    }
    return runs;
}

RowReach pictureReach(const std::vector<Run>& runs)
{
    RowReach picture;
    for (const Run& run : runs) {
        const RowReach reach = reachOf(run);
        picture = {std::min(picture.left, reach.left), std::max(picture.right, reach.right)};
    }
    return picture;
}

}  // namespace

SampleLayout sampleLayout(const GlyphRows& rows)
{
    const RowReach picture = pictureReach(runsOf(rows));
    return placedLayout(rows, picture.width(), std::vector<qint64>(rows.size(), -picture.left));
}

SampleLayout placedLayout(const GlyphRows& rows, qint64 width, const std::vector<qint64>& penStarts)
{
    SampleLayout layout{width, penStarts, {}};
    layout.rows.reserve(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        std::vector<GlyphPlace>& places = layout.rows.emplace_back();
        places.reserve(rows[row].size());
        qint64 pen = penStarts[row];
        for (const DisplayGlyph* glyph : rows[row]) {
            const int advance = glyph ? glyph->bitmap.advance : 0;
            places.push_back({pen, advance});
            pen += advance;
        }
    }
    return layout;
}

std::variant<QImage, QString> sampleText(const DisplayFont& font, const GlyphRows& rows, int zoom)
{
    return sampleText(font, rows, sampleLayout(rows), zoom);
}

std::variant<QImage, QString> sampleText(const DisplayFont& font, const GlyphRows& rows, const SampleLayout& layout,
                                         int zoom)
{
    const std::vector<Run> runs = runsOf(rows);
    auto blank = Canvas::blank(layout.width, qint64(font.height) * qint64(rows.size()), zoom);
    if (const QString* reason = std::get_if<QString>(&blank))
        return *reason;
    Canvas& canvas = std::get<Canvas>(blank);
    for (std::size_t row = 0; row < runs.size(); ++row)
        canvas.draw(runs[row], layout.penStarts[row], qint64(row) * font.height + font.baseline, kInkShade);
    return canvas.take();
}

}  // namespace harfcode
