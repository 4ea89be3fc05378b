// The main window as the user feels it: a keystroke appended to a long text, and a large
// paste, from the key until the window has converted and repainted, against a bare text
// field of the input's geometry, font and text in a window of the main window's size.
// Both get the same keys in the same run, so the ratio holds however busy the machine is.

#include "display/display_window.h"
#include "shell/form1.h"
#include "table/new_display_codes.h"
#include "table/table_file.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKeystrokes = 15;

// A Persian sentence with a number and Latin capitals, repeated: what a display's text holds.
QString typedText(qsizetype length)
{
    const QString sentence = QString::fromUtf8("سلام به همه دوستان، قیمت LED امروز ۱۴۰۳ تومان است. ");
    QString text;
    text.reserve(length + sentence.size());
    while (text.size() < length)
        text += sentence;
    text.truncate(length);
    return text;
}

// The main window on a table file of its own, shown.
class MainWindow {
public:
    explicit MainWindow(const harfcode::CodeStrings& codes = harfcode::defaultCodeStrings())
    {
        if (harfcode::writeTableFile(m_tablePath, codes).error)
            qFatal("cannot write the table file");
        m_window.show();
        if (!QTest::qWaitForWindowExposed(&m_window))
            qFatal("the main window is not shown");
    }
    QWidget& window() { return m_window; }
    QTextEdit& input() { return *m_window.findChild<QTextEdit*>(QStringLiteral("InkEdit1")); }
    void repaint() { m_window.repaint(); }
    harfcode::Form1& form() { return m_window; }
    const QString& tablePath() const { return m_tablePath; }

private:
    QTemporaryDir m_dir;
    QString m_tablePath = m_dir.filePath(QStringLiteral("HexTable.txt"));
    harfcode::Form1 m_window{m_tablePath};
};

// The input field alone: its geometry, font and text options, in a window of the same size.
class BareField {
public:
    explicit BareField(MainWindow& model)
    {
        const QTextEdit& input = model.input();
        m_window.resize(model.window().size());
        m_field->setGeometry(input.geometry());
        m_field->setAcceptRichText(false);
        m_field->setFont(input.font());
        m_field->document()->setDefaultFont(input.document()->defaultFont());
        m_field->document()->setDefaultTextOption(input.document()->defaultTextOption());
        m_window.show();
        if (!QTest::qWaitForWindowExposed(&m_window))
            qFatal("the bare field is not shown");
    }
    QTextEdit& input() { return *m_field; }
    void repaint() { m_window.repaint(); }

private:
    QWidget m_window;
    QTextEdit* m_field = new QTextEdit(&m_window);
};

// From the key until the window has handled what it caused and is painted again.
template <typename Window, typename Keys>
double millisecondsUntilRepainted(Window& window, Keys keys)
{
    const auto start = Clock::now();
    keys(window.input());
    QCoreApplication::processEvents();
    window.repaint();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename Window>
void appendText(Window& window, const QString& text)
{
    QTextCursor cursor = window.input().textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    window.input().setTextCursor(cursor);
    QCoreApplication::processEvents();
    window.repaint();
}

void typeCharacter(QTextEdit& input, QChar character)
{
    QTest::sendKeyEvent(QTest::Click, &input, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `measured` is the benchmark's time; the median of `against`, named
// `againstName`, and the ratio of the two are its counters.
void reportMedians(benchmark::State& state, const std::vector<double>& measured, const std::vector<double>& against,
                   const std::string& againstName)
{
    const double measuredMedian = median(measured);
    const double againstMedian = median(against);
    state.SetIterationTime(measuredMedian / 1000);
    state.counters[againstName] = againstMedian;
    state.counters["ratio"] = measuredMedian / againstMedian;
}

// Peak resident memory since the last reset, and the reset, through /proc (Linux).
qint64 statusKilobytes(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').front().toLongLong();
    return -1;
}

qint64 residentKilobytes() { return statusKilobytes("VmRSS:"); }
qint64 peakResidentKilobytes() { return statusKilobytes("VmHWM:"); }

void resetPeakResident()
{
    malloc_trim(0);  // what earlier work freed must not hide this one's growth
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
        qFatal("cannot reset the peak resident memory");
}

// Time and peak memory growth of one Ctrl+V of the clipboard into an empty input.
struct PasteCost {
    double milliseconds;
    double peakGrowthMegabytes;
};

template <typename Window>
PasteCost pasteCost(Window& window)
{
    resetPeakResident();
    const qint64 before = residentKilobytes();
    const double milliseconds = millisecondsUntilRepainted(window, [](QTextEdit& input) {
        QTest::keyClick(&input, Qt::Key_V, Qt::ControlModifier);
    });
    return {milliseconds, (peakResidentKilobytes() - before) / 1024.0};
}

// A keystroke appended to a text of state.range(0) characters: the main window's median
// time is the benchmark's time; the bare field's median and the ratio are counters.
void BM_KeystrokeAppended(benchmark::State& state)
{
    const QString text = typedText(state.range(0));
    const QString keys = typedText(kKeystrokes);
    for (auto _ : state) {
        MainWindow mainWindow;
        BareField bareField(mainWindow);
        appendText(mainWindow, text);
        appendText(bareField, text);
        std::vector<double> windowTimes, bareTimes;
        // Alternating, so that a burst of other work on the machine hits both alike.
        for (const QChar key : keys) {
            windowTimes.push_back(millisecondsUntilRepainted(mainWindow, [key](QTextEdit& input) { typeCharacter(input, key); }));
            bareTimes.push_back(millisecondsUntilRepainted(bareField, [key](QTextEdit& input) { typeCharacter(input, key); }));
        }
        if (mainWindow.input().toPlainText() != text + keys || bareField.input().toPlainText() != text + keys)
            state.SkipWithError("a keystroke was lost");
        reportMedians(state, windowTimes, bareTimes, "bare_ms");
    }
}

// Pasting state.range(0) characters into the empty input, the bare field first.
void BM_Paste(benchmark::State& state)
{
    QGuiApplication::clipboard()->setText(typedText(state.range(0)));
    for (auto _ : state) {
        PasteCost bare;
        {
            MainWindow model;
            BareField bareField(model);
            bare = pasteCost(bareField);
        }
        MainWindow mainWindow;
        const PasteCost window = pasteCost(mainWindow);
        if (mainWindow.input().toPlainText().size() != state.range(0))
            state.SkipWithError("the paste did not arrive whole");
        state.SetIterationTime(window.milliseconds / 1000);
        state.counters["bare_ms"] = bare.milliseconds;
        state.counters["ratio"] = window.milliseconds / bare.milliseconds;
        state.counters["bare_peak_MB"] = bare.peakGrowthMegabytes;
        state.counters["window_peak_MB"] = window.peakGrowthMegabytes;
        state.counters["peak_above_bare_MB"] = window.peakGrowthMegabytes - bare.peakGrowthMegabytes;
    }
}

// The main window with the Display window beside it, following its conversions; the Display
// window open or closed (hidden, as closing leaves it), both repainted after every key.
class WithDisplay {
public:
    explicit WithDisplay(MainWindow& main)
        : m_main(main)
        , m_display(main.tablePath())
    {
        QObject::connect(&main.form(), &harfcode::Form1::converted, &m_display, &harfcode::DisplayWindow::showConversion);
        m_display.resize(720, 360);
    }
    void setOpen(bool open)
    {
        m_display.setVisible(open);
        if (open && !QTest::qWaitForWindowExposed(&m_display))
            qFatal("the Display window is not shown");
        // What showing or hiding sets off (activation, focus, exposure) is not the keystroke's.
        QTest::qWait(50);
    }
    QTextEdit& input() { return m_main.input(); }
    // Repaints what shows: the main window, and the Display window while it is open.
    void repaint()
    {
        m_main.repaint();
        if (m_display.isVisible())
            m_display.repaint();
    }

private:
    MainWindow& m_main;
    harfcode::DisplayWindow m_display;
};

// A keystroke appended to a text of state.range(0) characters at 12 px, until both windows are
// repainted: the median of kKeystrokes with the Display window open is the benchmark's time; the
// median of as many with it closed and their ratio are counters.
void BM_KeystrokeWithDisplay(benchmark::State& state)
{
    const QString text = typedText(state.range(0));
    const QString keys = typedText(2 * kKeystrokes);
    for (auto _ : state) {
        // A code for every glyph, as a display's table has: nothing is marked.
        MainWindow mainWindow(harfcode::newDisplayCodes());
        WithDisplay display(mainWindow);
        display.setOpen(true);
        appendText(mainWindow, text);
        const auto keystroke = [&](QChar key) {
            return millisecondsUntilRepainted(display, [key](QTextEdit& input) { typeCharacter(input, key); });
        };
        std::vector<double> openTimes, closedTimes;
        // Alternating, so that a burst of other work on the machine hits both alike.
        for (qsizetype i = 0; i < keys.size(); i += 2) {
            display.setOpen(true);
            openTimes.push_back(keystroke(keys[i]));
            display.setOpen(false);
            closedTimes.push_back(keystroke(keys[i + 1]));
        }
        if (mainWindow.input().toPlainText() != text + keys)
            state.SkipWithError("a keystroke was lost");
        reportMedians(state, openTimes, closedTimes, "closed_ms");
    }
}

// The process's processor time so far, user and system, in seconds.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The share of one core, in per cent, that the program takes while it waits for events for
// `milliseconds`, as it does between keystrokes.
double coreShareWhileIdle(int milliseconds)
{
    const double before = processorSeconds();
    const auto start = Clock::now();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return 100 * (processorSeconds() - before) / std::chrono::duration<double>(Clock::now() - start).count();
}

// Nobody types after a paste of 1,000,000 characters on one line: the share of a core used in
// the first 5 s and in the 15 s after, with the focus left in the input or moved to "English
// Hex" (state.range(0)), and the Display window never opened or open beside the main window
// (state.range(1)). The benchmark's time is the last 15 s of processor time.
void BM_IdleAfterPaste(benchmark::State& state)
{
    QGuiApplication::clipboard()->setText(typedText(1'000'000));
    for (auto _ : state) {
        MainWindow mainWindow(harfcode::newDisplayCodes());
        std::optional<WithDisplay> display;
        if (state.range(1) != 0) {
            display.emplace(mainWindow);
            display->setOpen(true);
        }
        // The user comes back to the main window to paste.
        mainWindow.window().activateWindow();
        if (!QTest::qWaitForWindowActive(&mainWindow.window()))
            qFatal("the main window is not active");
        QTest::keyClick(&mainWindow.input(), Qt::Key_V, Qt::ControlModifier);
        if (state.range(0) != 0)
            mainWindow.window().findChild<QPlainTextEdit*>(QStringLiteral("Text2"))->setFocus(Qt::TabFocusReason);
        const double first = coreShareWhileIdle(5'000);
        const double then = coreShareWhileIdle(15'000);
        if (mainWindow.input().toPlainText().size() != 1'000'000)
            state.SkipWithError("the paste did not arrive whole");
        state.SetIterationTime(then / 100 * 15);
        state.counters["first_5s_core_pct"] = first;
        state.counters["then_15s_core_pct"] = then;
    }
}

BENCHMARK(BM_KeystrokeWithDisplay)->Arg(1'000)->Arg(10'000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeAppended)->Arg(100)->Arg(1'000)->Arg(10'000)->Arg(100'000)
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Arg(1'000'000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleAfterPaste)->ArgNames({"hex_focus", "display"})->ArgsProduct({{0, 1}, {0, 1}})
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
