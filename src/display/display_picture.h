#pragma once

#include "display/scroll_axis.h"
#include "font/display_sample.h"

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QAbstractScrollArea>

#include <optional>

namespace harfcode {

// A sample drawn as the display shows it: every pixel of the display a square of zoom × zoom,
// lit on a dark panel, and a frame around each glyph that is wrong. Only the part in the view
// is drawn, from each glyph's picture, made once per font and zoom. The picture is painted
// into the view from a 64-bit origin, not held by a widget: a long text at a large size and
// zoom passes the largest size a widget can have, and the scroll bars' pixels too.
class DisplayPicture : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr QRgb kPanel = 0xFF0B1E33;  // a dark blue panel
    static constexpr QRgb kLit = 0xFFE8F2FF;    // lit pixels, nearly white

    explicit DisplayPicture(QWidget* parent = nullptr);

    // Draws `sample` in `font`; both stay the caller's and must outlive what is drawn. A new
    // font (newFont) throws away the glyph pictures of the last one. A sample of rows in pixels
    // (displayWidth) keeps the display's width: a frame beyond it is drawn at its edge.
    void showSample(const DisplayFont& font, const DisplaySample& sample, int zoom, bool newFont, bool displayWidth);
    void clear();

    // "slot 26 (U+FEB3 "ﺳ"), code 5A" for the glyph under `position`, a point of the view, or
    // nothing.
    std::optional<QString> glyphAt(QPoint position) const;

    // The colour a frame takes for each kind of mark.
    static QColor markColour(SlotGlyph::Mark mark);

Q_SIGNALS:
    // The glyph under the mouse, or an empty text when it leaves the glyphs.
    void hovered(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    // A glyph's picture, lit on clear, and its origin's column in it, in the display's pixels;
    // made at the zoom, unless that would take too much memory.
    struct GlyphPicture {
        QPixmap pixmap;
        qint64 originX = 0;
        bool zoomed = false;
    };
    const GlyphPicture& pictureOf(const DisplayGlyph& glyph);
    int rowHeight() const;  // in the view's pixels
    // The columns a glyph's place takes, [first, second), in the display's pixels: at least one
    // for its frame, and within the picture.
    std::pair<qint64, qint64> columnsOf(const GlyphPlace& place) const;
    void setPictureSize(qint64 width, qint64 height);
    // Sets the scroll bars for the picture's size and the view's; shows no bar where the
    // whole picture fits.
    void fitScrollBars();

    const DisplayFont* m_font = nullptr;
    const DisplaySample* m_sample = nullptr;
    int m_zoom = 1;
    QHash<const DisplayGlyph*, GlyphPicture> m_pictures;
    QString m_hovered;
    qint64 m_width = 1;
    qint64 m_height = 1;
    ScrollAxis m_horizontal;
    ScrollAxis m_vertical;
    // Showing or hiding a scroll bar resizes the view while the bars are being set.
    bool m_fitting = false;
    bool m_fitAgain = false;
};

}  // namespace harfcode
