#include "display/display_window.h"

#include "display/display_picture.h"
#include "display/font_file_export.h"
#include "font/font_pictures.h"
#include "layout/display_rows.h"
#include "layout/pixel_rows.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <set>
#include <utility>

namespace harfcode {
namespace {

const QString kDefaultFont = QStringLiteral("Tahoma");
constexpr int kDefaultPixelSize = 12;
constexpr int kDefaultZoom = 4;

// The Width's units, in the order the combo box lists them.
enum WidthUnit { Glyphs, Pixels };

QString sentence(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text + u'.';
}

}  // namespace

DisplayWindow::DisplayWindow(QString tablePath, QString fontFolder, QWidget* parent)
    : QWidget(parent)
    , m_tablePath(std::move(tablePath))
    , m_fontFolder(std::move(fontFolder))
{
    setObjectName(QStringLiteral("Display"));
    setWindowTitle(QStringLiteral("Display"));
    resize(720, 360);

    m_fontName = new QLineEdit(kDefaultFont);
    m_fontName->setObjectName(QStringLiteral("font"));
    m_fontName->setToolTip(QStringLiteral("A font file, or a family name"));
    auto* chooseFont = new QToolButton;
    chooseFont->setObjectName(QStringLiteral("chooseFont"));
    chooseFont->setText(QStringLiteral("…"));
    chooseFont->setToolTip(QStringLiteral("Choose a font file"));

    m_size = new QSpinBox;
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(1, kMaxPixelSize);
    m_size->setValue(kDefaultPixelSize);
    m_size->setSuffix(QStringLiteral(" px"));

    m_order = new QComboBox;
    m_order->setObjectName(QStringLiteral("order"));
    for (const auto& [order, name] : kDisplayOrderNames)
        m_order->addItem(QString::fromLatin1(name), QVariant::fromValue(int(order)));
    m_order->setCurrentIndex(m_order->findData(int(DisplayOrder::Visual)));

    m_width = new QSpinBox;
    m_width->setObjectName(QStringLiteral("width"));
    m_width->setRange(0, kMaxWidth);
    m_width->setSpecialValueText(QStringLiteral("one row"));
    m_widthUnit = new QComboBox;
    m_widthUnit->setObjectName(QStringLiteral("widthUnit"));
    // Each unit with the width's suffix.
    m_widthUnit->addItem(QStringLiteral("glyphs"), QStringLiteral(" glyphs"));
    m_widthUnit->addItem(QStringLiteral("pixels"), QStringLiteral(" px"));
    m_width->setSuffix(m_widthUnit->currentData().toString());

    m_zoom = new QSpinBox;
    m_zoom->setObjectName(QStringLiteral("zoom"));
    m_zoom->setRange(1, kMaxZoom);
    m_zoom->setValue(kDefaultZoom);
    m_zoom->setPrefix(QStringLiteral("×"));

    auto* exportButton = new QPushButton(QStringLiteral("Export Font…"));
    exportButton->setObjectName(QStringLiteral("exportFont"));

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_fontName, 1);
    fontRow->addWidget(chooseFont);
    auto* settings = new QHBoxLayout;
    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Font:"), fontRow);
    left->addRow(QStringLiteral("Size:"), m_size);
    auto* middle = new QFormLayout;
    middle->addRow(QStringLiteral("Order:"), m_order);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(m_width, 1);
    widthRow->addWidget(m_widthUnit);
    middle->addRow(QStringLiteral("Width:"), widthRow);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("Zoom:"), m_zoom);
    right->addRow(exportButton);
    settings->addLayout(left, 2);
    settings->addLayout(middle, 1);
    settings->addLayout(right, 1);

    m_picture = new DisplayPicture;

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    // Font names and paths are shown as they are, whatever markup they hold.
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_hover = new QLabel;
    m_hover->setObjectName(QStringLiteral("hover"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(m_picture, 1);
    layout->addWidget(m_hover);
    layout->addWidget(m_status);

    connect(chooseFont, &QToolButton::clicked, this, &DisplayWindow::chooseFontFile);
    connect(exportButton, &QPushButton::clicked, this, &DisplayWindow::chooseExportFile);
    connect(m_fontName, &QLineEdit::editingFinished, this, &DisplayWindow::fontChanged);
    connect(m_size, &QSpinBox::valueChanged, this, &DisplayWindow::fontChanged);
    connect(m_order, &QComboBox::currentIndexChanged, this, &DisplayWindow::layoutChanged);
    connect(m_width, &QSpinBox::valueChanged, this, &DisplayWindow::layoutChanged);
    connect(m_widthUnit, &QComboBox::currentIndexChanged, this, &DisplayWindow::widthUnitChanged);
    connect(m_zoom, &QSpinBox::valueChanged, this, &DisplayWindow::layoutChanged);
    connect(m_picture, &DisplayPicture::hovered, m_hover, &QLabel::setText);

    fontChanged();
}

DisplayWindow::~DisplayWindow() = default;

void DisplayWindow::showConversion(const QString& text, const CodeStrings& codes)
{
    m_text = text;
    // The main window reads the table at every keystroke; the font is made again only when
    // the table changed.
    if (!m_codes || *m_codes != codes) {
        m_codes = codes;
        // The picture points into the font: it lets go of it first.
        m_picture->clear();
        m_sample.reset();
        m_font.reset();
    }
    if (isVisible())
        redraw();
}

void DisplayWindow::showEvent(QShowEvent* event)
{
    redraw();
    QWidget::showEvent(event);
}

void DisplayWindow::fontChanged()
{
    m_face.reset();
    m_font.reset();
    redraw();
}

void DisplayWindow::layoutChanged()
{
    redraw();
}

void DisplayWindow::widthUnitChanged()
{
    m_width->setSuffix(m_widthUnit->currentData().toString());
    redraw();
}

bool DisplayWindow::openFace()
{
    if (m_face)
        return true;
    m_faceProblem.reset();
    const QString name = m_fontName->text().trimmed();
    const auto refuse = [&](const UnusableFont& unusable) {
        m_faceProblem = sentence(unusable.description());
#ifndef Q_OS_WIN
        // Found nowhere: the default family comes with Wine's fonts. Not so on Windows, where
        // Tahoma is a system font.
        if (name == kDefaultFont && unusable.font == name)
            *m_faceProblem += QStringLiteral(" Wine's Tahoma comes with the Debian package fonts-wine.");
#endif
        return false;
    };
    if (!m_readFont || name != m_readFontName || identityOf(m_readFont->file.path) != m_readFont->identity) {
        m_readFont.reset();
        auto read = readFont(name, m_fontFolder);
        if (const auto* unusable = std::get_if<UnusableFont>(&read))
            return refuse(*unusable);
        m_readFont = std::get<ReadFont>(std::move(read));
        m_readFontName = name;
    }
    auto opened = openReadFont(*m_readFont, m_size->value());
    if (const auto* unusable = std::get_if<UnusableFont>(&opened))
        return refuse(*unusable);
    m_fontFile = std::get<OpenedFont>(opened).path;
    m_face = std::move(std::get<OpenedFont>(opened).face);
    return true;
}

void DisplayWindow::redraw()
{
    if (!openFace()) {
        m_sample.reset();
        m_picture->clear();
        m_status->setText(*m_faceProblem);
        return;
    }
    if (!m_codes) {
        m_picture->clear();
        m_status->setText(QStringLiteral("Font: %1 (%2, %3 px). The text shows here as it is typed in the main window.")
                              .arg(m_fontFile, m_face->family())
                              .arg(m_face->pixelSize()));
        return;
    }
    if (!m_font) {
        m_font = partialDisplayFont(*m_face, *m_codes, Hinting::Auto);
        m_newFont = true;
    }
    const auto order = DisplayOrder(m_order->currentData().toInt());
    const bool pixels = m_widthUnit->currentIndex() == Pixels;
    // Rows in pixels are measured as the display draws them, which the typing order is not:
    // as the converter refuses them there, the window shows one row and says why.
    const bool typedOneRow = pixels && order == DisplayOrder::Typing && m_width->value() > 0;
    const RowWidth width = typedOneRow || m_width->value() == 0 ? RowWidth{} : RowWidth{m_width->value(), pixels};
    m_sample = displaySample(m_font->font, *m_codes, m_text, order, width);
    m_picture->showSample(m_font->font, *m_sample, m_zoom->value(), std::exchange(m_newFont, false), width.pixels);
    QStringList lines = marksStatus();
    if (typedOneRow)
        lines.append(QStringLiteral("Rows in pixels follow the visual or reverse order; the typing order shows one row."));
    m_status->setText(lines.isEmpty() ? QStringLiteral("Font: %1 (%2, %3 px).")
                                            .arg(m_fontFile, m_face->family())
                                            .arg(m_face->pixelSize())
                                      : lines.join(u'\n'));
}

QStringList DisplayWindow::marksStatus() const
{
    // Each slot's mark once, however often the text shows it; a shared code once for its slots.
    std::set<std::pair<Slot, SlotGlyph::Mark>> told;
    std::set<std::uint8_t> toldShared;
    QStringList lines;
    for (std::size_t row = 0; row < m_sample->slots.size(); ++row) {
        for (std::size_t index = 0; index < m_sample->slots[row].size(); ++index) {
            const Slot slot = m_sample->slots[row][index];
            const SlotGlyph& shown = m_sample->glyphs[row][index];
            if (shown.mark == SlotGlyph::Mark::None || !told.insert({slot, shown.mark}).second)
                continue;
            const QString& code = (*m_codes)[std::size_t(slot - 1)];
            switch (shown.mark) {
            case SlotGlyph::Mark::None:
                break;
            case SlotGlyph::Mark::InvalidCode:
                lines.append(sentence(InvalidCode{slot, code}.description()));
                break;
            case SlotGlyph::Mark::Unfilled:
                lines.append(sentence(QStringLiteral("%1 still has the code %2: the display shows nothing for it")
                                          .arg(slotName(slot), quotedUnfilledCode())));
                break;
            case SlotGlyph::Mark::MissingGlyph:
                for (const MissingGlyph& missing : m_font->problems.missingGlyphs)
                    if (missing.code == *codeByte(code))
                        lines.append(sentence(missing.description()));
                break;
            case SlotGlyph::Mark::SharedCode:
                for (const SharedCode& shared : m_font->font.sharedCodes)
                    if (shared.code == shown.glyph->code && toldShared.insert(shared.code).second)
                        lines.append(sentence(shared.description()));
                break;
            case SlotGlyph::Mark::TooWide:
                lines.append(sentence(tooWideDescription(slot, int(m_sample->layout.width))));
                break;
            }
        }
    }
    return lines;
}

void DisplayWindow::chooseFontFile()
{
    const QString start = m_fontFile.isEmpty() ? QString() : QFileInfo(m_fontFile).absolutePath();
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Font File"), start,
        QStringLiteral("Fonts (*.ttf *.otf *.ttc *.bdf *.pcf *.pcf.gz);;All files (*)"));
    if (file.isEmpty())
        return;
    m_fontName->setText(file);
    fontChanged();
}

void DisplayWindow::chooseExportFile()
{
    QStringList filters;
    for (const ExportFormat& format : kExportFormats)
        filters.append(QString::fromLatin1(format.filter));
    QString chosenFilter = filters.front();
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Font"), QString(),
                                                      filters.join(QStringLiteral(";;")), &chosenFilter);
    if (path.isEmpty())
        return;
    exportFont(path, kExportFormats[std::max<qsizetype>(filters.indexOf(chosenFilter), 0)].format);
}

void DisplayWindow::exportFont(const QString& path, FontFormat format)
{
    if (!openFace()) {
        m_status->setText(*m_faceProblem);
        return;
    }
    if (!m_codes) {
        m_status->setText(QStringLiteral("Nothing is exported: type in the main window first, so that it reads the table."));
        return;
    }
    if (!m_font)
        redraw();  // makes the font for the picture and the export alike
    const FontFileExport result =
        exportFontFile(path, format, m_zoom->value(), {*m_face, m_fontFile, *m_font, *m_codes, m_tablePath});
    m_status->setText(result.message);
}

}  // namespace harfcode
