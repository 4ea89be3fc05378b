#include "display/display_picture.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace harfcode {
namespace {

// A mark's frame, in the view's pixels, drawn inside the glyph's place.
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
    case SlotGlyph::Mark::TooWide:
        return ", which is wider than a row";
    }
    return "";
}

}  // namespace

DisplayPicture::DisplayPicture(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("picture"));
    // Around a picture smaller than the view.
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setMouseTracking(true);
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
    case SlotGlyph::Mark::TooWide:
        return QColor(0xFF, 0x30, 0x30);  // red
    case SlotGlyph::Mark::SharedCode:
        return QColor(0xFF, 0xD7, 0x00);  // yellow
    }
    return {};
}

void DisplayPicture::showSample(const DisplayFont& font, const DisplaySample& sample, int zoom, bool newFont,
                                bool displayWidth)
{
    if (newFont || zoom != m_zoom)
        m_pictures.clear();
    m_font = &font;
    m_sample = &sample;
    m_zoom = zoom;
    // A marked glyph takes at least a pixel's width for its frame, also at the end of a row,
    // unless the width is the display's own.
    qint64 width = std::max<qint64>(sample.layout.width, 1);
    for (std::size_t row = 0; row < sample.layout.rows.size() && !displayWidth; ++row)
        if (!sample.glyphs[row].empty() && sample.glyphs[row].back().mark != SlotGlyph::Mark::None)
            width = std::max(width, sample.layout.rows[row].back().x + std::max(sample.layout.rows[row].back().advance, 1));
    setPictureSize(width * zoom, std::max<qint64>(qint64(font.height) * qint64(sample.slots.size()), 1) * zoom);
}

void DisplayPicture::clear()
{
    m_font = nullptr;
    m_sample = nullptr;
    m_pictures.clear();
    setPictureSize(1, 1);
}

void DisplayPicture::setPictureSize(qint64 width, qint64 height)
{
    m_width = width;
    m_height = height;
    fitScrollBars();
    viewport()->update();
}

void DisplayPicture::fitScrollBars()
{
    if (std::exchange(m_fitting, true)) {
        m_fitAgain = true;
        return;
    }
    do {
        m_fitAgain = false;
        const QSize largest = maximumViewportSize();
        const QSize view = m_width <= largest.width() && m_height <= largest.height() ? largest : viewport()->size();
        m_horizontal.fit(*horizontalScrollBar(), m_width, view.width());
        m_vertical.fit(*verticalScrollBar(), m_height, view.height());
    } while (m_fitAgain);
    m_fitting = false;
}

void DisplayPicture::resizeEvent(QResizeEvent* event)
{
    fitScrollBars();
    QAbstractScrollArea::resizeEvent(event);
}

void DisplayPicture::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    m_horizontal.scrollTo(horizontalScrollBar()->value());
    m_vertical.scrollTo(verticalScrollBar()->value());
    viewport()->update();
}

int DisplayPicture::rowHeight() const
{
    return std::max(m_font->height, 1) * m_zoom;
}

std::pair<qint64, qint64> DisplayPicture::columnsOf(const GlyphPlace& place) const
{
    const qint64 right = std::min(place.x + std::max(place.advance, 1), m_width / m_zoom);
    return {std::min(place.x, right - 1), right};
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
    QPainter painter(viewport());
    const qint64 originX = m_horizontal.origin(), originY = m_vertical.origin();
    // The exposed part of the picture, in the picture's pixels.
    const qint64 exposedLeft = std::max<qint64>(event->rect().left() + originX, 0);
    const qint64 exposedTop = std::max<qint64>(event->rect().top() + originY, 0);
    const qint64 exposedRight = std::min<qint64>(event->rect().right() + originX, m_width - 1);
    const qint64 exposedBottom = std::min<qint64>(event->rect().bottom() + originY, m_height - 1);
    if (exposedLeft > exposedRight || exposedTop > exposedBottom)
        return;
    const QRect panel(QPoint(int(exposedLeft - originX), int(exposedTop - originY)),
                      QPoint(int(exposedRight - originX), int(exposedBottom - originY)));
    painter.fillRect(panel, QColor::fromRgb(kPanel));
    // Ink beyond the picture's edges stays off the view's background.
    painter.setClipRect(panel);
    if (!m_sample)
        return;
    const int height = rowHeight();
    const auto firstRow = std::size_t(exposedTop / height);
    const std::size_t endRow = std::min(m_sample->slots.size(), std::size_t(exposedBottom / height + 1));
    for (std::size_t row = firstRow; row < endRow; ++row) {
        const std::vector<GlyphPlace>& places = m_sample->layout.rows[row];
        const std::vector<SlotGlyph>& glyphs = m_sample->glyphs[row];
        const int top = int(qint64(row) * height - originY);
        for (std::size_t index = 0; index < places.size(); ++index) {
            const GlyphPlace& place = places[index];
            const SlotGlyph& shown = glyphs[index];
            const auto [first, end] = columnsOf(place);
            const qint64 left = first * m_zoom, right = end * m_zoom;
            if (shown.glyph) {
                const GlyphPicture& picture = pictureOf(*shown.glyph);
                const qint64 pictureLeft = (place.x - picture.originX) * m_zoom;
                const QSize size = picture.zoomed ? picture.pixmap.size() : picture.pixmap.size() * m_zoom;
                if (pictureLeft <= exposedRight && pictureLeft + size.width() > exposedLeft)
                    painter.drawPixmap(QRect(QPoint(int(pictureLeft - originX), top), size), picture.pixmap);
            }
            if (shown.mark != SlotGlyph::Mark::None && left <= exposedRight && right > exposedLeft) {
                // Four filled edges: stroking a frame costs far more, and marks may be many.
                const QColor colour = markColour(shown.mark);
                const int x = int(left - originX), width = int(right - left);
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
    const qint64 pictureX = position.x() + m_horizontal.origin(), pictureY = position.y() + m_vertical.origin();
    if (!m_sample || pictureX < 0 || pictureY < 0)
        return std::nullopt;
    const auto row = std::size_t(pictureY / rowHeight());
    if (row >= m_sample->slots.size())
        return std::nullopt;
    const qint64 x = pictureX / m_zoom;
    // The narrowest place there: a glyph without advance kept at the picture's edge shares
    // its column with the glyph before it.
    const std::vector<GlyphPlace>& places = m_sample->layout.rows[row];
    std::optional<std::size_t> found;
    qint64 foundWidth = 0;
    for (std::size_t index = 0; index < places.size(); ++index) {
        const auto [first, end] = columnsOf(places[index]);
        if (x >= first && x < end && (!found || end - first < foundWidth))
            found = index, foundWidth = end - first;
    }
    if (!found)
        return std::nullopt;
    const Slot slot = m_sample->slots[row][*found];
    const SlotGlyph::Mark mark = m_sample->glyphs[row][*found].mark;
    return QStringLiteral("%1, code %2%3")
        .arg(slotName(slot), m_sample->codes[std::size_t(slot - 1)], QLatin1StringView(markWords(mark)));
}

void DisplayPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QString text = glyphAt(event->position().toPoint()).value_or(QString());
    if (text != m_hovered)
        Q_EMIT hovered(m_hovered = text);
    QAbstractScrollArea::mouseMoveEvent(event);
}

bool DisplayPicture::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Leave:
        if (!m_hovered.isEmpty())
            Q_EMIT hovered(m_hovered = QString());
        break;
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<QString> text = glyphAt(help->pos()))
            QToolTip::showText(help->globalPos(), *text, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace harfcode
