#include "shell/table_read_notices.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

const QString kPath = QStringLiteral("/tables/HexTable.txt");

TableReading failedRead()
{
    TableReading reading;
    reading.error = TableFileError{TableFileError::Operation::Read, kPath, QStringLiteral("No such file or directory")};
    return reading;
}

TableReading goodRead(bool surplus)
{
    TableReading reading;
    reading.codes = QList<QString>(103, QStringLiteral("00"));
    reading.hasSurplusLines = surplus;
    return reading;
}

TableFileStamp stamp(qint64 size)
{
    return {size, QDateTime(QDate(2024, 5, 1), QTime(12, 0))};
}

// The conversion reads at every keystroke; these runs of reads say when the user hears of it.
TEST(Form1ReadNotices, TellsALastingProblemOnce)
{
    enum class Read { Fails, Clean, Surplus };
    struct Step {
        Read read;
        qint64 size;
        bool told;
    };
    const Step steps[] = {
        {Read::Fails, -1, true},      // first failure
        {Read::Fails, -1, false},     // still failing: already told
        {Read::Fails, -1, false},
        {Read::Clean, 1236, false},   // recovered
        {Read::Fails, -1, true},      // fails again after a good read
        {Read::Surplus, 1248, true},  // a file with a 104th line
        {Read::Surplus, 1248, false}, // the same file
        {Read::Surplus, 1260, true},  // changed, still too long
        {Read::Fails, -1, true},
        {Read::Surplus, 1260, false}, // the file the user already heard about
        {Read::Clean, 1236, false},
        {Read::Surplus, 1260, true},  // too long again after a clean file
    };
    TableReadNotices notices(kPath);
    int index = 0;
    for (const Step& step : steps) {
        const TableReading reading = step.read == Read::Fails ? failedRead() : goodRead(step.read == Read::Surplus);
        const TableFileStamp state = step.size < 0 ? TableFileStamp{} : stamp(step.size);
        EXPECT_EQ(notices.noticeFor(reading, state).has_value(), step.told) << "step " << index;
        ++index;
    }
}

TEST(Form1ReadNotices, NamesTheFileTheReasonAndWhatTheConversionDoes)
{
    TableReadNotices notices(kPath);
    const auto failure = notices.noticeFor(failedRead(), {});
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->startsWith(failedRead().error->message()));
    EXPECT_TRUE(failure->endsWith("The conversion goes on with the codes of the last successful read."));

    const auto surplus = notices.noticeFor(goodRead(true), stamp(2000));
    ASSERT_TRUE(surplus);
    EXPECT_TRUE(surplus->contains(kPath));
    EXPECT_TRUE(surplus->contains("first 103"));
}

}  // namespace
}  // namespace harfcode
