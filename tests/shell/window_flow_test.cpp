// The windows as the program runs them: start-up, conversion, hand-over, closing, and telling.
#include "editor/form2.h"
#include "shell/qt_settings.h"
#include "shell/window_flow.h"
#include "support/widget_test_support.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace harfcode {
namespace {

using namespace testing;

// The windows started on the sample table or, without one, as on a first start.
struct StartedFlow {
    explicit StartedFlow(bool withTable)
    {
        if (withTable)
            folder.write(encodeTable(sampleCodes()));
        flow.start();
    }
    Form1& main() { return flow.mainWindow(); }
    Form2& editor() { return *flow.editor(); }

    TableFolder folder;
    WindowFlow flow{folder.tablePath()};
};

QString readFailure(const QString& path) { return "Could not read the glyph code table \"" + path + '"'; }

// Also run as an ordinary user, where a read-only folder makes writing the default table fail.
TEST(WindowFlow, FirstStartShowsTheEditorWithDefaultCodesAndClosingAWindowEndsTheProgram)
{
    for (const bool writable : {true, false}) {
        TableFolder folder;
        // Root ignores folder permissions, but cannot write into a folder that does not exist.
        const QString path = writable || folder.makeReadOnly() ? folder.tablePath() : folder.tablePath() + "/HexTable.txt";
        WindowFlow flow(path);
        flow.start();
        const QString writeFailure = "Could not write the glyph code table \"" + path + '"';
        EXPECT_EQ(shownWindows(), writable ? QStringList("Form2") : QStringList({writeFailure, "Form2"}));
        EXPECT_EQ(folder.bytes(), writable ? encodeTable(defaultCodeStrings()) : QByteArray());
        ASSERT_TRUE(flow.editor());
        for (int slot = 1; slot <= kSlotCount; ++slot)
            EXPECT_EQ(codeField(*flow.editor(), slot)->text(), "00") << slot;
        EXPECT_EQ(textOf(*flow.editor(), "InkEdit74"), "A");
        EXPECT_EQ(textOf(*flow.editor(), "InkEdit103"), QString(QChar(0x061F)));

        // "Cancel" re-reads the table: it hands back to the main window, or keeps the fields as edited.
        codeField(*flow.editor(), 1)->setText("7F");
        click(*flow.editor(), "Command2");
        EXPECT_EQ(shownWindows(), writable ? QStringList("Form1") : QStringList({readFailure(path), writeFailure, "Form2"}));
        EXPECT_EQ(codeField(*flow.editor(), 1)->text(), writable ? "00" : "7F");
        EXPECT_EQ(outputsOf(flow.mainWindow()), (QStringList{"Length : 0", "", ""}));

        QWidget& closed = writable ? static_cast<QWidget&>(flow.mainWindow()) : *flow.editor();
        QTimer::singleShot(0, &closed, [&closed] { closed.close(); });
        QTimer::singleShot(5000, &closed, [] { QCoreApplication::exit(1); });
        EXPECT_EQ(QApplication::exec(), 0) << "closing the only window showing ends the program";
        EXPECT_FALSE(shownWindows().contains("Form1") || shownWindows().contains("Form2"));
    }
}

TEST(WindowFlow, ReadsTheTableAtEveryChangeAndTellsOnceWhileItCannot)
{
    StartedFlow f(true);
    const auto typeBeh = [&](const char* table, qsizetype toldSoFar, const char* behCode) {
        type(f.main(), " " + kBeh);
        EXPECT_EQ(shownWindows().size(), 1 + toldSoFar) << table;
        EXPECT_TRUE(textOf(f.main(), "Text2").endsWith(behCode)) << table;
    };
    typeBeh("sample", 0, "A2");
    f.folder.write(tableLines({"20=", "00=", "00=", "C4="}));
    typeBeh("4 lines, beh beyond them", 0, "A2");
    QFile::remove(f.folder.tablePath());
    typeBeh("deleted", 1, "A2");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a notice must not block typing";
    typeBeh("still deleted", 1, "A2");
    EXPECT_FALSE(tableExists(f.folder.tablePath())) << "the conversion never writes the table";
    QStringList lines(104, "B6=");
    f.folder.write(tableLines(lines));
    typeBeh("104 lines", 2, "B6");
    typeBeh("the same 104 lines", 2, "B6");
    f.folder.write(tableLines(lines << "FF="));
    typeBeh("changed to 105 lines", 3, "B6");
    f.folder.replaceByFolder();
    typeBeh("a folder after a good read", 4, "B6");
    click(f.main(), "Command1");  // the editor cannot load: a third read failure told, fields empty
    EXPECT_EQ(shownWindows().filter(readFailure(f.folder.tablePath())).size(), 3);
    EXPECT_EQ(codeField(f.editor(), 5)->text(), "");
}

TEST(WindowFlow, ConvertsTypingAndHandsTheTableBetweenTheWindows)
{
    StartedFlow f(true);
    EXPECT_EQ(shownWindows(), QStringList{"Form1"});
    EXPECT_EQ(f.folder.bytes(), encodeTable(sampleCodes()));
    // A line break is one character; a no-break space stays one and is no blank. Both leave
    // the joining of the beh before them as it was, so it keeps its initial glyph.
    type(f.main(), kBeh + kAlef + u' ' + kBeh + u'\u00A0' + kBeh + u'\n' + kAlef);
    const QStringList converted{"Length : 8", "0B    A1    A1  20  0B  A1", "A1  0B  20  A1    A1    0B"};
    EXPECT_EQ(outputsOf(f.main()), converted);
    click(f.main(), "Command1");
    codeField(f.editor(), 5)->setText("FF");
    click(f.editor(), "Command2");
    click(f.main(), "Command1");
    EXPECT_EQ(codeField(f.editor(), 5)->text(), "A1") << "Cancel throws the edit away";

    codeField(f.editor(), 5)->setText("5B");
    click(f.editor(), "Command1");
    EXPECT_EQ(shownWindows(), QStringList{"Form1"});
    CodeStrings codes = sampleCodes();
    codes[5 - 1] = "5B";
    EXPECT_EQ(f.folder.bytes(), encodeTable(codes));
    EXPECT_EQ(outputsOf(f.main()), converted) << "Save does not convert";

    // Another program changes the file while the editor is hidden: reopening shows the fields
    // as saved, while the next conversion reads the new file.
    codes[5 - 1] = "C5";
    f.folder.write(encodeTable(codes));
    type(f.main(), kBeh);
    EXPECT_EQ(textOf(f.main(), "Text2"), "C5  0B  20  C5    C5    0B  A2");
    click(f.main(), "Command1");
    EXPECT_EQ(codeField(f.editor(), 5)->text(), "5B");
}

// A table that cannot be read from the start leaves the conversion without codes; only after
// a good read are there codes it can go on with.
// A path with markup shows as it is.
TEST(WindowFlow, AReadFailureSaysWhichCodesTheConversionGoesOnWith)
{
    QTemporaryDir folder;
    const QString tablePath = folder.filePath("<b>HexTable.txt");
    ASSERT_TRUE(QDir(folder.path()).mkdir("<b>HexTable.txt"));
    WindowFlow flow(tablePath);
    flow.start();
    type(flow.mainWindow(), kBeh);
    ASSERT_EQ(shownMessageTexts().size(), 1);
    EXPECT_TRUE(shownMessageTexts().front().startsWith(readFailure(tablePath))) << shownMessageTexts().front().toStdString();
    EXPECT_TRUE(shownMessageTexts().front().endsWith(" Until it can be read, the conversion has no codes to show."))
        << shownMessageTexts().front().toStdString();
}

// Typed as keys of their own: the half-space keeps the yeh before it isolated (E3), not joined
// towards the sheen (E2); a vowel mark sits on its letter, so the word stays joined, and has no code.
TEST(WindowFlow, TheHalfSpaceKeepsAWordApartAndAVowelMarkKeepsItJoined)
{
    const struct {
        const char* text;
        std::vector<std::pair<int, const char*>> codes;
        QStringList shown;
    } cases[] = {
        {"می\u200Cشود", {{54, "D4"}, {62, "E2"}, {63, "E3"}, {28, "B7"}},
         {"Length : 6", "00  00  B7    E3  D4", "D4  E3    B7  00  00"}},
        {"سَلام", {{26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}}, {"Length : 5", "D5  0B  C4    B3", "B3    C4  0B  D5"}},
    };
    for (const auto& c : cases) {
        StartedFlow f(true);
        CodeStrings codes = sampleCodes();
        for (const auto& [slot, code] : c.codes)
            codes[slot - 1] = code;
        f.folder.write(encodeTable(codes));
        type(f.main(), QString::fromUtf8(c.text));
        EXPECT_EQ(outputsOf(f.main()), c.shown) << c.text;
    }
}

// A file dialog remembers its last folder when it closes: in the program's own folder, never in
// the user's settings.
TEST(WindowFlow, QtsDialogsRememberNothingInTheUsersSettings)
{
    const QFileInfo usersSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                  + QStringLiteral("/QtProject.conf"));
    const bool existed = usersSettings.exists();
    const QDateTime modified = existed ? usersSettings.lastModified() : QDateTime();
    QTemporaryDir programsFolder;
    keepQtSettingsIn(programsFolder.path());
    {
        QFileDialog dialog(nullptr, QString(), programsFolder.path());
    }
    EXPECT_TRUE(QFileInfo::exists(programsFolder.filePath(QStringLiteral("QtProject.conf"))));
    const QFileInfo after(usersSettings.filePath());
    EXPECT_EQ(after.exists(), existed);
    if (existed) {
        EXPECT_EQ(after.lastModified(), modified);
    }
}

}  // namespace
}  // namespace harfcode
