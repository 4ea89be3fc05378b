#include "display/display_picture.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>

#include <algorithm>

namespace harfcode {
namespace {

// A mark's frame, in the widget's pixels, drawn inside the glyph's place.
constexpr int kFrameWidth = 2;
// A glyph whose picture at the zoom would be larger is kept at the display's own pixels and
// zoomed as it is drawn: a large font at a large zoom would otherwise hold gigabytes.
constexpr qint64 kMaxZoomedGlyphPixels = qint64(1) << 20;

const char* markWords(SlotGlyph::Mark mark)
{
    switch (mark) {
    case SlotGlyph::Mark::None:
        return "";
    case SlotGlyph::Mark::InvalidCode:
        return " is not two hexadecimal digits";
    case SlotGlyph::Mark::Unfilled:
        return " is still unfilled";
    case SlotGlyph::Mark::MissingGlyph:
        return ", which the font has no glyph for";
    case SlotGlyph::Mark::SharedCode:
        return ", which other slots share";
    }
    return "";
}

}  // namespace

DisplayPicture::DisplayPicture(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(1, 1);
}

QColor DisplayPicture::markColour(SlotGlyph::Mark mark)
{
    switch (mark) {
    case SlotGlyph::Mark::None:
        break;
    case SlotGlyph::Mark::InvalidCode:
        return QColor(0xFF, 0x8C, 0x00);  // orange
    case SlotGlyph::Mark::Unfilled:
        return QColor(0xE0, 0x40, 0xFF);  // violet
    case SlotGlyph::Mark::MissingGlyph:
        return QColor(0xFF, 0x30, 0x30);  // red
    case SlotGlyph::Mark::SharedCode:
        return QColor(0xFF, 0xD7, 0x00);  // yellow
    }
    return {};
}

void DisplayPicture::showSample(const DisplayFont& font, const DisplaySample& sample, int zoom, bool newFont)
{
    if (newFont || zoom != m_zoom)
        m_pictures.clear();
    m_font = &font;
    m_sample = &sample;
    m_zoom = zoom;
    // A marked glyph takes at least a pixel's width for its frame, also at the end of a row.
    qint64 width = std::max<qint64>(sample.layout.width, 1);
    for (std::size_t row = 0; row < sample.layout.rows.size(); ++row)
        if (!sample.glyphs[row].empty() && sample.glyphs[row].back().mark != SlotGlyph::Mark::None)
            width = std::max(width, sample.layout.rows[row].back().x + std::max(sample.layout.rows[row].back().advance, 1));
    width *= zoom;
    const qint64 height = std::max<qint64>(qint64(font.height) * qint64(sample.slots.size()), 1) * zoom;
    // A resize, not a fixed size: the scroll area follows it without laying out the window again.
    resize(int(std::min<qint64>(width, QWIDGETSIZE_MAX)), int(std::min<qint64>(height, QWIDGETSIZE_MAX)));
    update();
}

void DisplayPicture::clear()
{
    m_font = nullptr;
    m_sample = nullptr;
    m_pictures.clear();
    resize(1, 1);
    update();
}

int DisplayPicture::rowHeight() const
{
    return std::max(m_font->height, 1) * m_zoom;
}

const DisplayPicture::GlyphPicture& DisplayPicture::pictureOf(const DisplayGlyph& glyph)
{
    const auto known = m_pictures.constFind(&glyph);
    if (known != m_pictures.constEnd())
        return *known;
    // The glyph alone, as the sample picture draws it: ink black on white.
    const GlyphRows alone{{&glyph}};
    GlyphPicture picture;
    picture.originX = sampleLayout(alone).rows.front().front().x;
    if (auto drawn = sampleText(*m_font, alone, 1); auto* ink = std::get_if<QImage>(&drawn)) {
        ink->invertPixels();  // ink as full alpha
        QImage lit(ink->size(), QImage::Format_ARGB32_Premultiplied);
        lit.fill(QColor::fromRgb(kLit));
        lit.setAlphaChannel(*ink);
        picture.zoomed = qint64(lit.width()) * lit.height() * m_zoom * m_zoom <= kMaxZoomedGlyphPixels;
        if (picture.zoomed)
            lit = lit.scaled(lit.size() * m_zoom);  // every pixel a square, as nearest neighbours
        picture.pixmap = QPixmap::fromImage(std::move(lit));
    }
    return *m_pictures.insert(&glyph, std::move(picture));
}

void DisplayPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, QColor::fromRgb(kPanel));
    if (!m_sample)
        return;
    const int height = rowHeight();
    const std::size_t firstRow = std::size_t(std::max(exposed.top(), 0) / height);
    const std::size_t endRow = std::min(m_sample->slots.size(), std::size_t(exposed.bottom() / height + 1));
    for (std::size_t row = firstRow; row < endRow; ++row) {
        const std::vector<GlyphPlace>& places = m_sample->layout.rows[row];
        const std::vector<SlotGlyph>& glyphs = m_sample->glyphs[row];
        const int top = int(row) * height;
        for (std::size_t index = 0; index < places.size(); ++index) {
            const GlyphPlace& place = places[index];
            const SlotGlyph& shown = glyphs[index];
            const qint64 left = place.x * m_zoom;
            const qint64 right = (place.x + std::max(place.advance, 1)) * m_zoom;
            if (shown.glyph) {
                const GlyphPicture& picture = pictureOf(*shown.glyph);
                const qint64 pictureLeft = (place.x - picture.originX) * m_zoom;
                const QSize size = picture.zoomed ? picture.pixmap.size() : picture.pixmap.size() * m_zoom;
                if (pictureLeft <= exposed.right() && pictureLeft + size.width() > exposed.left())
                    painter.drawPixmap(QRect(QPoint(int(pictureLeft), top), size), picture.pixmap);
            }
            if (shown.mark != SlotGlyph::Mark::None && left <= exposed.right() && right > exposed.left()) {
                // Four filled edges: stroking a frame costs far more, and marks may be many.
                const QColor colour = markColour(shown.mark);
                const int x = int(left), width = int(right - left);
                painter.fillRect(x, top, width, kFrameWidth, colour);
                painter.fillRect(x, top + height - kFrameWidth, width, kFrameWidth, colour);
                painter.fillRect(x, top, kFrameWidth, height, colour);
                painter.fillRect(x + width - kFrameWidth, top, kFrameWidth, height, colour);
            }
        }
    }
}

std::optional<QString> DisplayPicture::glyphAt(QPoint position) const
{
    if (!m_sample || position.y() < 0 || position.x() < 0)
        return std::nullopt;
    const std::size_t row = std::size_t(position.y() / rowHeight());
    if (row >= m_sample->slots.size())
        return std::nullopt;
    const qint64 x = position.x() / m_zoom;
    const std::vector<GlyphPlace>& places = m_sample->layout.rows[row];
    for (std::size_t index = 0; index < places.size(); ++index) {
        const GlyphPlace& place = places[index];
        if (x < place.x || x >= place.x + std::max(place.advance, 1))
            continue;
        const Slot slot = m_sample->slots[row][index];
        const SlotGlyph::Mark mark = m_sample->glyphs[row][index].mark;
        return QStringLiteral("%1, code %2%3")
            .arg(slotName(slot), m_sample->codes[std::size_t(slot - 1)], QLatin1StringView(markWords(mark)));
    }
    return std::nullopt;
}

void DisplayPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QString text = glyphAt(event->position().toPoint()).value_or(QString());
    if (text != m_hovered)
        Q_EMIT hovered(m_hovered = text);
    QWidget::mouseMoveEvent(event);
}

void DisplayPicture::leaveEvent(QEvent* event)
{
    if (!m_hovered.isEmpty())
        Q_EMIT hovered(m_hovered = QString());
    QWidget::leaveEvent(event);
}

bool DisplayPicture::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const std::optional<QString> text = glyphAt(help->pos()))
        QToolTip::showText(help->globalPos(), *text, this);
    else
        QToolTip::hideText();
    return true;
}

}  // namespace harfcode
