#pragma once

#include "font/display_font.h"
#include "font/display_sample.h"
#include "font/font_export.h"
#include "font/font_face.h"
#include "font/font_lookup.h"
#include "layout/display_order.h"
#include "table/code_strings.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace harfcode {

class DisplayPicture;

// The Display window: the main window's text as the display shows it, live, in the display's
// font at a chosen size, order, width and zoom; glyphs that cannot show as they should are
// framed and told in the status line. Its settings last while the window does.
class DisplayWindow : public QWidget {
    Q_OBJECT
public:
    // `fontFolder`: where a family that the installed fonts lack is looked for (none where empty).
    explicit DisplayWindow(QString tablePath, QString fontFolder = extraFontFolder(),
                           QWidget* parent = nullptr);
    ~DisplayWindow() override;

    // Writes the display's font to `path`: what "Export Font…" does once a file is chosen.
    void exportFont(const QString& path, FontFormat format);

protected:
    void showEvent(QShowEvent* event) override;

public Q_SLOTS:
    // A conversion of the main window: its text and the table it read; drawn while the window
    // shows, or once it shows again.
    void showConversion(const QString& text, const CodeStrings& codes);

private Q_SLOTS:
    void chooseFontFile();
    void chooseExportFile();
    void fontChanged();
    void layoutChanged();
    void widthUnitChanged();

private:
    // Opens the font when its name or size changed; says why not where it cannot.
    bool openFace();
    void redraw();
    QStringList marksStatus() const;  // a line for each mark

    QString m_tablePath;
    QString m_fontFolder;
    QString m_text;
    std::optional<CodeStrings> m_codes;  // none before the main window's first conversion

    QString m_fontFile;
    // The font as last read, and the Font text it was found by: a new size opens it again
    // without reading it, as long as the file stays as it was.
    std::optional<ReadFont> m_readFont;
    QString m_readFontName;
    std::unique_ptr<FontFace> m_face;
    std::optional<QString> m_faceProblem;
    std::optional<PartialDisplayFont> m_font;  // of m_face and m_codes
    bool m_newFont = false;
    std::optional<DisplaySample> m_sample;

    QLineEdit* m_fontName = nullptr;
    QSpinBox* m_size = nullptr;
    QComboBox* m_order = nullptr;
    QSpinBox* m_width = nullptr;
    QComboBox* m_widthUnit = nullptr;  // glyphs or pixels
    QSpinBox* m_zoom = nullptr;
    DisplayPicture* m_picture = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_hover = nullptr;
};

}  // namespace harfcode
