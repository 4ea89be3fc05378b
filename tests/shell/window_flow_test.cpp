#include "form1_test_support.h"

#include "editor/form2.h"
#include "shell/window_flow.h"
#include "table/table_file.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace harfcode {
namespace {

using namespace harfcode::testing;

struct FlowFixture {
    explicit FlowFixture(std::optional<CodeStrings> table)
    {
        if (table)
            folder.writeTable(*table);
    }

    Form1& main() { return flow.mainWindow(); }
    Form2& editor() { return *flow.editor(); }
    QLineEdit* codeField(int slot) { return child<QLineEdit>(editor(), QStringLiteral("InkEdit1_%1").arg(slot)); }
    QString code(int slot) { return codeField(slot)->text(); }
    void click(QWidget& window, const char* button) { child<QAbstractButton>(window, button)->click(); }
    void type(const QString& text) { typeText(inputOf(main()), text); }

    TableFolder folder;
    WindowFlow flow{folder.tablePath()};
};

// The texts of the messages shown over `window`.
QStringList messagesOver(QWidget& window)
{
    QStringList texts;
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            texts.append(box->text());
    }
    return texts;
}

TEST(WindowFlow, FirstStartWritesTheDefaultTableAndOpensOnlyTheEditor)
{
    FlowFixture fixture(std::nullopt);
    fixture.flow.start();

    const QByteArray written = fixture.folder.tableBytes();
    EXPECT_EQ(written.size(), 1236);
    EXPECT_EQ(written, encodeTable(defaultCodeStrings()));
    ASSERT_NE(fixture.flow.editor(), nullptr);
    EXPECT_TRUE(fixture.editor().isVisible());
    EXPECT_FALSE(fixture.main().isVisible());
    for (int slot = 1; slot <= 103; ++slot)
        EXPECT_EQ(fixture.code(slot), "00") << slot;
    EXPECT_EQ(fixture.editor().focusWidget(), fixture.codeField(1));
    EXPECT_EQ(fixture.editor().windowIcon().availableSizes(), QList<QSize>{QSize(64, 64)});

    fixture.click(fixture.editor(), "Command2");
    EXPECT_FALSE(fixture.editor().isVisible());
    EXPECT_TRUE(fixture.main().isVisible());
    EXPECT_EQ(outputsOf(fixture.main()), (Outputs{"Length : 0", "", ""}));
    EXPECT_EQ(fixture.folder.tableBytes(), written);
    EXPECT_TRUE(messagesOver(fixture.main()).isEmpty());
}

TEST(WindowFlow, StartWithATableShowsOnlyTheMainWindowAndLeavesTheFile)
{
    FlowFixture fixture(sampleCodes());
    const QByteArray before = fixture.folder.tableBytes();
    fixture.flow.start();

    EXPECT_TRUE(fixture.main().isVisible());
    EXPECT_EQ(fixture.flow.editor(), nullptr) << "the editor is created on its first showing only";
    EXPECT_EQ(fixture.folder.tableBytes(), before);
    EXPECT_EQ(outputsOf(fixture.main()), (Outputs{"Length : 0", "", ""}));
    EXPECT_EQ(fixture.main().windowIcon().availableSizes(), QList<QSize>{QSize(64, 64)});

    fixture.click(fixture.main(), "Command1");
    EXPECT_FALSE(fixture.main().isVisible());
    ASSERT_NE(fixture.flow.editor(), nullptr);
    EXPECT_TRUE(fixture.editor().isVisible());
    EXPECT_EQ(fixture.code(5), "A1");
}

TEST(WindowFlow, CancelThrowsEditsAwayAndTheNextOpeningShowsTheFile)
{
    FlowFixture fixture(sampleCodes());
    fixture.flow.start();
    fixture.click(fixture.main(), "Command1");
    fixture.codeField(5)->setText("FF");

    fixture.click(fixture.editor(), "Command2");
    fixture.click(fixture.main(), "Command1");

    EXPECT_EQ(fixture.code(5), "A1");
    EXPECT_EQ(fixture.folder.tableBytes(), encodeTable(sampleCodes()));
}

TEST(WindowFlow, SaveKeepsTheEditorAsSavedAndLeavesTheOutputsUntilTheInputChanges)
{
    FlowFixture fixture(sampleCodes());
    fixture.flow.start();
    fixture.type(kBeh + kAlef);
    const Outputs before = outputsOf(fixture.main());
    ASSERT_EQ(before.typingOrder, "A1  0B");

    fixture.click(fixture.main(), "Command1");
    fixture.codeField(5)->setText("5B");
    fixture.click(fixture.editor(), "Command1");

    EXPECT_TRUE(fixture.main().isVisible());
    EXPECT_FALSE(fixture.editor().isVisible());
    EXPECT_EQ(outputsOf(fixture.main()), before) << "Save does not convert";

    // Another program changes the file while the editor is hidden: reopening shows the
    // fields as they were, while the next conversion reads the new file.
    CodeStrings changed = sampleCodes();
    changed[5 - 1] = "C5";
    fixture.folder.writeTable(changed);
    fixture.type(kBeh);
    EXPECT_EQ(outputsOf(fixture.main()).typingOrder, "C5  0B  A2");
    fixture.click(fixture.main(), "Command1");
    EXPECT_EQ(fixture.code(5), "5B");
}

TEST(WindowFlow, ClosingEitherWindowEndsTheProgram)
{
    struct Case {
        const char* what;
        bool tableAtStart;
        std::function<QWidget&(FlowFixture&)> prepare;  // returns the window to close
    };
    const Case cases[] = {
        {"main window, editor never opened", true, [](FlowFixture& f) -> QWidget& { return f.main(); }},
        {"main window, editor loaded and hidden", true,
         [](FlowFixture& f) -> QWidget& {
             f.click(f.main(), "Command1");
             f.click(f.editor(), "Command2");
             return f.main();
         }},
        {"main window with a message showing", true,
         [](FlowFixture& f) -> QWidget& {
             f.folder.removeTable();
             f.type(kBeh);
             return f.main();
         }},
        {"editor on a first start", false, [](FlowFixture& f) -> QWidget& { return f.editor(); }},
        {"editor opened by Hex Table", true,
         [](FlowFixture& f) -> QWidget& {
             f.click(f.main(), "Command1");
             return f.editor();
         }},
    };
    for (const Case& c : cases) {
        FlowFixture fixture(c.tableAtStart ? std::optional(sampleCodes()) : std::nullopt);
        fixture.flow.start();
        QWidget& closed = c.prepare(fixture);

        bool timedOut = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        watchdog.start(5000);
        QTimer::singleShot(0, &closed, [&] { closed.close(); });
        QApplication::exec();

        EXPECT_FALSE(timedOut) << c.what << ": the event loop did not end";
        EXPECT_FALSE(fixture.main().isVisible()) << c.what;
        if (fixture.flow.editor()) {
            EXPECT_FALSE(fixture.editor().isVisible()) << c.what;
        }
        if (!c.tableAtStart) {
            EXPECT_EQ(fixture.folder.tableBytes(), encodeTable(defaultCodeStrings())) << c.what << ": the default table stays";
        }
    }
}

TEST(WindowFlow, FirstStartThatCannotWriteTheTableStillOpensTheEditorWithDefaultCodes)
{
    TableFolder folder;
    // Where permissions are not enforced (root), a missing folder makes writing fail too.
    const QString tablePath = folder.makeReadOnly() ? folder.tablePath() : folder.path() + "/missing/HexTable.txt";
    WindowFlow flow(tablePath);
    flow.start();

    ASSERT_NE(flow.editor(), nullptr);
    EXPECT_TRUE(flow.editor()->isVisible());
    EXPECT_FALSE(flow.mainWindow().isVisible());
    for (int slot = 1; slot <= 103; ++slot)
        EXPECT_EQ(child<QLineEdit>(*flow.editor(), QStringLiteral("InkEdit1_%1").arg(slot))->text(), "00") << slot;
    EXPECT_EQ(child<QLineEdit>(*flow.editor(), "InkEdit74")->text(), "A");
    const QStringList messages = messagesOver(*flow.editor());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith("Could not write the glyph code table"));
    EXPECT_TRUE(messages.first().contains(tablePath));
    EXPECT_FALSE(tableExists(tablePath));
}

TEST(WindowFlow, TellsTheUserOverTheVisibleWindowWhenTheTableFails)
{
    struct Case {
        const char* what;
        std::function<void(FlowFixture&)> act;
        bool editorStaysOpen;
        const char* messageStart;
    };
    const Case cases[] = {
        {"conversion cannot read", [](FlowFixture& f) {
             f.folder.replaceTableByFolder();
             f.type(kBeh + kAlef);
         }, false, "Could not read"},
        {"save cannot write", [](FlowFixture& f) {
             f.click(f.main(), "Command1");
             f.codeField(3)->setText("3C");
             f.folder.replaceTableByFolder();
             f.click(f.editor(), "Command1");
         }, true, "Could not write"},
        {"cancel cannot read", [](FlowFixture& f) {
             f.click(f.main(), "Command1");
             f.codeField(3)->setText("3C");
             f.folder.removeTable();
             f.click(f.editor(), "Command2");
         }, true, "Could not read"},
    };
    for (const Case& c : cases) {
        FlowFixture fixture(sampleCodes());
        fixture.flow.start();
        c.act(fixture);

        QWidget& visible = c.editorStaysOpen ? static_cast<QWidget&>(fixture.editor()) : fixture.main();
        EXPECT_TRUE(visible.isVisible()) << c.what;
        EXPECT_NE(fixture.main().isVisible(), c.editorStaysOpen) << c.what;
        const QStringList messages = messagesOver(visible);
        ASSERT_EQ(messages.size(), 1) << c.what;
        EXPECT_TRUE(messages.first().startsWith(c.messageStart)) << c.what;
        if (c.editorStaysOpen) {
            EXPECT_EQ(fixture.code(3), "3C") << c.what;
        }
    }
}

}  // namespace
}  // namespace harfcode
