// The Display window as the user meets it: opened from a code box's menu, following the main
// window's every conversion, drawing the picture harfcode-cli draws, marking what cannot show,
// and exporting the font.
#include "display/display_picture.h"
#include "display/display_window.h"
#include "support/test_bdf_font.h"
#include "support/widget_test_support.h"
#include "table/new_display_codes.h"

#include <QClipboard>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolTip>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace harfcode {
namespace {

using namespace testing;

// "Show on Display…", the last entry of the context menu of the box `boxName`.
DisplayWindow& openDisplay(Program& p, const char* boxName = "Text1")
{
    QMenu* menu = openContextMenu(p.box(boxName));
    EXPECT_TRUE(menu);
    if (menu) {
        EXPECT_EQ(menu->actions().back()->text(), QStringLiteral("Show on Display…")) << "the last entry";
        menu->actions().back()->trigger();
        menu->close();
    }
    EXPECT_TRUE(p.flow.display());
    return *p.flow.display();
}

template <typename Control>
Control& control(QWidget& window, const char* name)
{
    auto* found = window.findChild<Control*>(name);
    EXPECT_TRUE(found) << name;
    return *found;
}

// Sets the window's controls as the user does.
void setFont(DisplayWindow& display, const QString& font, int pixelSize)
{
    control<QSpinBox>(display, "size").setValue(pixelSize);
    auto& name = control<QLineEdit>(display, "font");
    name.setText(font);
    Q_EMIT name.editingFinished();
}

// `width` as --width takes it, "5" glyphs or "64px"; "0" is one row.
void setLayout(DisplayWindow& display, const QString& order, QString width, int zoom)
{
    auto& orders = control<QComboBox>(display, "order");
    orders.setCurrentIndex(orders.findText(order));
    auto& units = control<QComboBox>(display, "widthUnit");
    const bool pixels = width.endsWith("px");
    units.setCurrentIndex(units.findText(pixels ? "pixels" : "glyphs"));
    if (pixels)
        width.chop(2);
    control<QSpinBox>(display, "width").setValue(width.toInt());
    control<QSpinBox>(display, "zoom").setValue(zoom);
}

QWidget& view(DisplayWindow& display) { return *control<QAbstractScrollArea>(display, "picture").viewport(); }

// Where the picture shows in the view: the panel and what is drawn on it, set in the view's
// background.
QRect shownPicture(QWidget& view, const QImage& grabbed)
{
    const QRgb background = view.palette().color(view.backgroundRole()).rgb();
    QRect picture;
    for (int y = 0; y < grabbed.height(); ++y)
        for (int x = 0; x < grabbed.width(); ++x)
            if (grabbed.pixel(x, y) != background)
                picture |= QRect(x, y, 1, 1);
    return picture;
}

QImage grabbed(QWidget& view) { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The whole picture, which the view must hold.
QImage drawn(DisplayWindow& display)
{
    auto& area = control<QAbstractScrollArea>(display, "picture");
    EXPECT_EQ(area.horizontalScrollBar()->maximum() + area.verticalScrollBar()->maximum(), 0) << "the view holds it all";
    const QImage shown = grabbed(*area.viewport());
    return shown.copy(shownPicture(*area.viewport(), shown));
}

// The drawn picture with lit pixels black and the panel white, as the converter's pictures
// are; a null image where any pixel is neither.
QImage asInkOnPaper(const QImage& picture)
{
    QImage gray(picture.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (pixel != DisplayPicture::kLit && pixel != DisplayPicture::kPanel)
                return {};
            gray.scanLine(y)[x] = pixel == DisplayPicture::kLit ? 0x00 : 0xFF;
        }
    return gray;
}

bool hasColour(const QImage& picture, const QColor& colour)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == colour.rgb())
                return true;
    return false;
}

// The status line as a screen reader reads it, so that markup in a name would be lost.
QString status(DisplayWindow& display) { return shownText(control<QLabel>(display, "status")); }

const QString kSalam = QStringLiteral("\u0633\u0644\u0627\u0645");

// What harfcode-cli writes to standard output with these arguments; its standard error goes to
// `errors` where given.
QByteArray cli(const QStringList& arguments, QByteArray* errors = nullptr)
{
    QProcess cli;
    cli.start(QStringLiteral(HARFCODE_CLI_PATH), arguments);
    EXPECT_TRUE(cli.waitForFinished(30000));
    const QByteArray standardError = cli.readAllStandardError();
    EXPECT_EQ(cli.exitCode(), 0) << standardError.toStdString();
    if (errors)
        *errors = standardError;
    return cli.readAllStandardOutput();
}

TEST(DisplayWindow, DrawsThePictureTheConverterDraws)
{
    Program p(newDisplayCodes());
    // `width` is the window's, `converterWidth` the --width that draws the same ("": none), and
    // `shown` what the Width box shows.
    struct Case {
        const char* what; QString text; const char* order; const char* width; const char* converterWidth;
        const char* shown; int size = 12; int zoom = 1; QString told = "Font: ";
    };
    const QString greeting = QStringLiteral("\u0633\u0644\u0627\u0645 \u062F\u0646\u06CC\u0627 \u06F1\u06F4\u06F0\u06F3");
    const Case cases[] = {
        {"Persian, digits and capitals", kSalam + " 123 LED " + kBeh + kAlef, "visual", "0", "", "one row"},
        {"a half-space", QStringLiteral("\u0645\u06CC\u200C\u0634\u0648\u062F"), "reverse", "0", "", "one row"},
        {"a word cut across rows, zoomed", kSalam + " " + kSalam + kSalam + " AB 12", "visual", "5", "5", "5 glyphs", 12, 3},
        {"a character without a slot", kSalam + QStringLiteral("\u263A") + "7", "typing", "4", "4", "4 glyphs"},
        // Glyphs too large to keep at the zoom are zoomed as they are drawn.
        {"large and zoomed", kSalam, "visual", "0", "", "one row", 200, 8},
        // The unit alone changes the picture.
        {"rows of 64 glyphs, zoomed", greeting, "visual", "64", "64", "64 glyphs", 12, 3},
        {"rows of 64 pixels, zoomed", greeting, "visual", "64px", "64px", "64 px", 12, 3},
        {"rows of 40 pixels in reverse order", greeting, "reverse", "40px", "40px", "40 px"},
        {"rows in pixels in typing order", greeting, "typing", "64px", "", "64 px", 12, 1,
         "Rows in pixels follow the visual or reverse order; the typing order shows one row."},
    };
    DisplayWindow& display = openDisplay(p);
    EXPECT_EQ(display.windowTitle(), "Display");
    for (const Case& c : cases) {
        setFont(display, "Tahoma", c.size);
        QTest::keyClick(&p.input(), Qt::Key_A, Qt::ControlModifier);
        type(p.main(), c.text);
        // Each setting redraws the picture.
        setLayout(display, c.order, c.width, c.zoom);
        QStringList arguments{"--table", p.folder.tablePath(), "--font", "Tahoma", "--size", QString::number(c.size),
                              "--font-format", "png", "--zoom", QString::number(c.zoom), "--sample", c.text, "--order", c.order};
        if (*c.converterWidth)
            arguments << "--width" << c.converterWidth;
        const QImage expected = QImage::fromData(cli(arguments), "PNG").convertToFormat(QImage::Format_Grayscale8);
        ASSERT_FALSE(expected.isNull()) << c.what;
        // Room for the whole picture, beside and below the settings.
        display.resize(std::max(720, expected.width() + 100), std::max(360, expected.height() + 250));
        EXPECT_EQ(asInkOnPaper(drawn(display)), expected) << c.what << "; " << status(display).toStdString();
        EXPECT_TRUE(status(display).startsWith(c.told)) << c.what << "; " << status(display).toStdString();
        EXPECT_EQ(control<QSpinBox>(display, "width").text(), c.shown) << c.what;
    }
}

// The tiny BDF font, written out; its 4-pixel glyphs are known pixel by pixel.
struct TinyFont {
    TinyFont()
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(tinyTestFont()) > 0);
    }
    QTemporaryDir dir;
    QString path = dir.filePath("tiny.bdf");
};

// Codes for the tiny font's glyphs: the blank, seen, lam, alef, meem, 1, 2 and 4.
CodeStrings tinyCodes()
{
    CodeStrings codes = defaultCodeStrings();
    for (const auto& [slot, code] : {std::pair{1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}, {65, "31"},
                                     {66, "32"}, {68, "34"}})
        codes[std::size_t(slot - 1)] = code;
    return codes;
}

TEST(DisplayWindow, FollowsTypingDeletingPastingAndTheTable)
{
    TinyFont font;
    Program p(tinyCodes());
    DisplayWindow& display = openDisplay(p, "Text2");
    setFont(display, font.path, 4);
    setLayout(display, "visual", "0", 2);
    type(p.main(), kSalam);
    const QImage typed = drawn(display);
    type(p.main(), "1");
    const QImage oneMore = drawn(display);
    EXPECT_NE(oneMore, typed) << "a keystroke shows";
    QTest::keyClick(&p.input(), Qt::Key_Backspace);
    EXPECT_EQ(drawn(display), typed) << "the deleted glyph is gone";
    QGuiApplication::clipboard()->setText(" 42");
    QTest::keyClick(&p.input(), Qt::Key_V, Qt::ControlModifier);
    const QImage pasted = drawn(display);
    EXPECT_NE(pasted, typed) << "a paste shows";
    EXPECT_TRUE(status(display).startsWith("Font: ")) << status(display).toStdString();

    CodeStrings changed = tinyCodes();
    changed[26 - 1] = "00";
    p.folder.write(encodeTable(changed));
    type(p.main(), "1");
    QTest::keyClick(&p.input(), Qt::Key_Backspace);
    EXPECT_NE(drawn(display), pasted) << "the table read at the last conversion shows";
    EXPECT_TRUE(status(display).contains("Slot 26")) << status(display).toStdString();
}

TEST(DisplayWindow, MarksWhatCannotShowAndTellsItOnce)
{
    TinyFont font;
    // Each case changes one slot's code over tinyCodes().
    struct Case {
        const char* what; int slot; const char* code; QString text; SlotGlyph::Mark mark; QString told;
        const char* width = "0"; bool framedAtTheEdge = false;  // the frame's right side on the picture's last column
    };
    const Case cases[] = {
        {"a glyph the font lacks", 6, "A2", kSalam + " " + kBeh + " " + kBeh, SlotGlyph::Mark::MissingGlyph,
         QString::fromUtf8("The font has no glyph for slot 6 (U+FE8F \"ﺏ\"), code A2.")},
        {"a code that is not a byte", 68, "G4", kSalam + " 44", SlotGlyph::Mark::InvalidCode,
         QString::fromUtf8("Slot 68 (U+0034 \"4\") has the code \"G4\"")},
        {"an unfilled code", 66, "00", "22 1", SlotGlyph::Mark::Unfilled, QString::fromUtf8("Slot 66 (U+0032 \"2\") still has the code \"00\"")},
        {"a code two slots share", 66, "31", "12 21", SlotGlyph::Mark::SharedCode,
         QString::fromUtf8("Slots 65 and 66 share the code 31, which holds the glyph of slot 65.")},
        // The '1' reaches 3 pixels.
        {"a glyph wider than a row", 65, "31", "11 1", SlotGlyph::Mark::TooWide,
         QString::fromUtf8("The glyph of slot 65 (U+0031 \"1\") is wider than a row of 2 pixels, even alone."), "2px", true},
    };
    for (const Case& c : cases) {
        CodeStrings codes = tinyCodes();
        codes[std::size_t(c.slot - 1)] = c.code;
        Program p(codes);
        DisplayWindow& display = openDisplay(p);
        setFont(display, font.path, 4);
        setLayout(display, "visual", c.width, 4);
        type(p.main(), c.text);
        const QString told = status(display);
        EXPECT_TRUE(told.startsWith(c.told)) << c.what << ": " << told.toStdString();
        EXPECT_EQ(told.count('\n'), 0) << c.what << ": told once, " << told.toStdString();
        const QImage picture = drawn(display);
        EXPECT_TRUE(hasColour(picture, DisplayPicture::markColour(c.mark))) << c.what;
        if (c.framedAtTheEdge) {
            EXPECT_EQ(picture.pixel(picture.width() - 1, 8), DisplayPicture::markColour(c.mark).rgb()) << c.what;
        }
    }
}

// Moves the mouse to `at` in the view; what the hover label then names.
QString hoverAt(DisplayWindow& display, QPoint at)
{
    QWidget& picture = view(display);
    QMouseEvent move(QEvent::MouseMove, at, picture.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&picture, &move);
    return control<QLabel>(display, "hover").text();
}

TEST(DisplayWindow, HoverNamesTheSlotTheGlyphAndTheCode)
{
    TinyFont font;
    Program p(tinyCodes());
    DisplayWindow& display = openDisplay(p);
    setFont(display, font.path, 4);
    // In one row the display shows, left to right, meem (3 pixels on), alef (3), lam (2) and
    // seen (2, its ink one more); rows of 20 pixels end at the right. The '1' reaches 3 pixels:
    // in rows of 2 it stands alone on each, cut at the display's edge. The beh, unfilled, has
    // no advance: at the end of a row in pixels it takes the display's last column.
    const QString meem = QString::fromUtf8("slot 55 (U+FEE1 \"ﻡ\"), code D5");
    struct Case { const char* width; QString text; int pictureWidth; QPoint at; QString shows; };
    const Case cases[] = {
        {"0", kSalam, 11, {1 * 4 + 1, 5}, meem},
        {"0", kSalam, 11, {3 * 4 + 1, 5}, QString::fromUtf8("slot 4 (U+FE8E \"ﺎ\"), code 0B")},
        {"0", kSalam, 11, {9 * 4 + 2, 5}, QString::fromUtf8("slot 26 (U+FEB3 \"ﺳ\"), code B3")},
        {"0", kSalam, 11, {9 * 4 + 2, 4 * 4 + 1}, QString()},  // below the row
        {"20px", kSalam, 20, {10 * 4 + 1, 5}, meem},
        {"20px", kSalam, 20, {8 * 4 + 1, 5}, QString()},  // left of the row
        {"2px", "11", 2, {1 * 4 + 1, 4 * 4 + 1}, QString::fromUtf8("slot 65 (U+0031 \"1\"), code 31, which is wider than a row")},
        {"2px", "11", 2, {2 * 4 + 1, 5}, QString()},  // beyond the display's edge
        {"10px", kBeh + " 1", 10, {9 * 4 + 1, 5}, QString::fromUtf8("slot 6 (U+FE8F \"ﺏ\"), code 00 is still unfilled")},
    };
    for (const Case& c : cases) {
        setLayout(display, "visual", c.width, 4);
        QTest::keyClick(&p.input(), Qt::Key_A, Qt::ControlModifier);
        type(p.main(), c.text);
        QWidget& picture = view(display);
        const QRect shown = shownPicture(picture, grabbed(picture));
        EXPECT_EQ(shown.width(), c.pictureWidth * 4) << c.width;
        const QPoint at = shown.topLeft() + c.at;
        EXPECT_EQ(hoverAt(display, at), c.shows) << c.width;
        if (c.shows.isEmpty())
            continue;
        QHelpEvent help(QEvent::ToolTip, at, picture.mapToGlobal(at));
        QApplication::sendEvent(&picture, &help);
        EXPECT_EQ(QToolTip::text(), c.shows) << c.width;
    }
}

// A glyph of 255 pixels' advance is 16,320 pixels wide at zoom 64 and its row as tall: some
// 1,100 of them pass the largest size a widget can have (16,777,215 pixels), in one row or one
// glyph a row. The view still reaches the last glyph, and hovering it names it.
TEST(DisplayWindow, ReachesTheLastGlyphOfALongTextAtAnyWidth)
{
    // The '1' shows nothing; the '2' inks the bottom right of its place.
    QTemporaryDir dir;
    QFile fontFile(dir.filePath("wide.bdf"));
    ASSERT_TRUE(fontFile.open(QIODevice::WriteOnly)
                && fontFile.write(bdfTestFont(255, 254, 1, {{U'1', 0, 0, 255, {"."}},
                                                           {U'2', 252, 0, 255, {"##", ".#", "##"}}})) > 0);
    fontFile.close();
    Program p(tinyCodes());
    DisplayWindow& display = openDisplay(p);
    setFont(display, fontFile.fileName(), 255);
    QGuiApplication::clipboard()->setText(QString(1'099, u'1') + u'2');
    QTest::keyClick(&p.input(), Qt::Key_V, Qt::ControlModifier);
    auto& area = control<QAbstractScrollArea>(display, "picture");
    for (const char* width : {"0", "1"}) {
        setLayout(display, "visual", width, 64);
        area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum());
        area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
        EXPECT_EQ(hoverAt(display, view(display).rect().bottomRight()), QString::fromUtf8("slot 66 (U+0032 \"2\"), code 32")) << width;
        EXPECT_TRUE(hasColour(grabbed(view(display)), QColor::fromRgb(DisplayPicture::kLit))) << width;
    }
}

// A font file without the notes that name the program and its command.
QByteArray withoutNotes(const QByteArray& bytes, const QByteArray& format)
{
    if (format == "png") {
        const QImage picture = QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_Grayscale8);
        return QByteArray::number(picture.width()) + 'x' + QByteArray::number(picture.height()) + ':'
               + QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
    }
    if (format == "bdf") {
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeIf([](const QByteArray& line) { return line.startsWith("COMMENT"); });
        return lines.join('\n');
    }
    return bytes.mid(bytes.indexOf("*/"));
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A path with markup shows in the status line as it is.
TEST(DisplayWindow, ExportsTheFontOrSaysWhyNot)
{
    TinyFont font;
    Program p(tinyCodes());
    DisplayWindow& display = openDisplay(p);
    setFont(display, font.path, 4);
    type(p.main(), kSalam);
    QTemporaryDir out;
    // The same table, font and size give the converter's font.
    struct Case { FontFormat format; const char* name; QString path; };
    const Case cases[] = {
        {FontFormat::Bdf, "bdf", out.filePath("<b>font.bdf")},
        {FontFormat::C, "c", out.filePath("font.h")},
        {FontFormat::Gfx, "gfx", out.filePath("gfx.h")},
        {FontFormat::Png, "png", out.filePath("sheet.png")},
    };
    for (const Case& c : cases) {
        display.exportFont(c.path, c.format);
        const QByteArray exported = contents(c.path);
        EXPECT_FALSE(exported.isEmpty()) << c.name;
        QByteArray errors;
        cli({"--table", p.folder.tablePath(), "--font", font.path, "--size", "4", "--font-format", c.name, "--output", out.filePath("cli")},
            &errors);
        EXPECT_EQ(withoutNotes(exported, c.name), withoutNotes(contents(out.filePath("cli")), c.name)) << c.name;
        // And its warnings, a line each.
        QString shown = "Exported the font to \"" + c.path + "\".";
        for (const QString& line : QString::fromUtf8(errors).split(u'\n'))
            if (line.startsWith("harfcode-cli: warning: "))
                shown += "\nWarning: " + line.sliced(23);
        EXPECT_EQ(status(display), shown);
    }
    EXPECT_TRUE(status(display).contains("\nWarning: the font has no glyph for")) << status(display).toStdString();

    // A glyph at a code that Adafruit GFX takes as a line end.
    CodeStrings lineEnd = tinyCodes();
    lineEnd[4 - 1] = "0A";
    p.folder.write(encodeTable(lineEnd));
    type(p.main(), "1");
    display.exportFont(cases[2].path, FontFormat::Gfx);
    EXPECT_TRUE(status(display).endsWith("\nWarning: Adafruit_GFX::write() takes code 0A as a line end and skips 0D: the "
                                         "glyph of slot 4 (U+FE8E \"\uFE8E\") at code 0A is never drawn."))
        << status(display).toStdString();

    display.exportFont(out.filePath("no folder/font.bdf"), FontFormat::Bdf);
    EXPECT_TRUE(status(display).startsWith("Cannot write \"" + out.filePath("no folder/font.bdf") + "\": ")) << status(display).toStdString();

    // A glyph the font lacks: the file already there stays as it was.
    CodeStrings lacking = tinyCodes();
    lacking[6 - 1] = "A2";
    p.folder.write(encodeTable(lacking));
    type(p.main(), "1");
    const QByteArray before = contents(cases[0].path);
    display.exportFont(cases[0].path, FontFormat::Bdf);
    EXPECT_TRUE(status(display).startsWith("Nothing is exported: the font has no glyph for slot 6")) << status(display).toStdString();
    EXPECT_EQ(contents(cases[0].path), before);

    // Nothing filled in: the window names its own way to fill the codes in.
    p.folder.write(encodeTable(defaultCodeStrings()));
    type(p.main(), "1");
    display.exportFont(cases[0].path, FontFormat::Bdf);
    EXPECT_EQ(status(display), "Nothing is exported: every code of the table is still \"00\": there is no glyph to place; "
                               "fill in your display's codes in the Hex Table window.");
}

// A typed font name with markup shows in the status line as it is.
TEST(DisplayWindow, StartsWithWinesTahomaOrNamesItsPackage)
{
    TableFolder folder;
    QTemporaryDir noFonts;
    struct Case { QString folder; QString starts; bool namesPackage; };
    const Case cases[] = {
        {QString::fromLatin1(kWineFontFolder), "Font: " + QString::fromLatin1(kWineFontFolder), false},
        {noFonts.path(), "Cannot use the font \"Tahoma\": ", true},
    };
    for (const Case& c : cases) {
        DisplayWindow display(folder.tablePath(), c.folder);
        const QStringList settings{control<QLineEdit>(display, "font").text(), control<QSpinBox>(display, "size").text(),
                                   control<QComboBox>(display, "order").currentText(), control<QSpinBox>(display, "width").text(),
                                   control<QComboBox>(display, "widthUnit").currentText(), control<QSpinBox>(display, "zoom").text()};
        EXPECT_EQ(settings, (QStringList{"Tahoma", "12 px", "visual", "one row", "glyphs", "×4"})) << "as the user sees them";
        EXPECT_TRUE(status(display).startsWith(c.starts)) << status(display).toStdString();
        EXPECT_EQ(status(display).contains("fonts-wine"), c.namesPackage) << status(display).toStdString();
        setFont(display, "<h1>x</h1>", 4);
        EXPECT_TRUE(status(display).startsWith("Cannot use the font \"<h1>x</h1>\": ")) << status(display).toStdString();
    }
}

// That closing the main window then ends the program the end-to-end walkthrough shows.
TEST(DisplayWindow, ClosingItKeepsTheProgramAndItsSettings)
{
    Program p(tinyCodes());
    DisplayWindow& display = openDisplay(p);
    EXPECT_EQ(shownWindows(), (QStringList{"Display", "Form1"}));
    control<QSpinBox>(display, "zoom").setValue(7);
    QTimer::singleShot(0, &display, [&display] { display.close(); });
    QTimer::singleShot(300, &display, [] { QCoreApplication::exit(3); });
    EXPECT_EQ(QApplication::exec(), 3) << "closing the Display window ends nothing";
    EXPECT_EQ(shownWindows(), QStringList{"Form1"});

    EXPECT_EQ(&openDisplay(p, "Text2"), &display);
    EXPECT_EQ(control<QSpinBox>(display, "zoom").value(), 7) << "the settings last while the program runs";
    EXPECT_EQ(shownWindows(), (QStringList{"Display", "Form1"}));
}

// A font is read when the Font text or the file changes, never for a new size.
TEST(DisplayWindow, ReadsTheFontOnlyWhenItsNameOrFileChanges)
{
    TableFolder folder;
    QTemporaryDir fonts;
    const QString font = fonts.filePath("tahoma.ttf");
    ASSERT_TRUE(QFile::copy(QString::fromLatin1(kWineFontFolder) + "/tahoma.ttf", font));
    DisplayWindow display(folder.tablePath(), fonts.path());
    // The opens of the font file, by anybody, during the step, as the system tells them.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(font).constData(), IN_OPEN), 0);
    const auto opensAfter = [&](const std::function<void()>& step) {
        step();
        int count = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t size; (size = ::read(watch, events, sizeof events)) > 0;)
            for (ssize_t at = 0; at < size; at += ssize_t(sizeof(inotify_event)) + reinterpret_cast<inotify_event*>(events + at)->len)
                ++count;
        return count;
    };
    const auto setSize = [&](int size) { control<QSpinBox>(display, "size").setValue(size); };
    EXPECT_GE(opensAfter([&] { setFont(display, font, 12); }), 1) << "a new name";
    EXPECT_EQ(opensAfter([&] { setSize(13); setSize(14); setSize(15); }), 0) << "a new size";
    EXPECT_EQ(opensAfter([&] { setFont(display, font, 15); }), 0) << "the same name";
    const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(font).constData(), later, 0), 0);
    EXPECT_EQ(opensAfter([&] { setSize(16); }), 1) << "a changed file";
    EXPECT_GE(opensAfter([&] { setFont(display, "Tahoma", 16); }), 1) << "a family name";
    EXPECT_EQ(opensAfter([&] { setSize(17); setSize(18); }), 0) << "a new size of the family";
    EXPECT_TRUE(status(display).startsWith("Font: " + font + " (Tahoma, 18 px)")) << status(display).toStdString();
    ::close(watch);
}

}  // namespace
}  // namespace harfcode
