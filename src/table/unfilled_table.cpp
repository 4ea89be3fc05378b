#include "table/unfilled_table.h"

#include "table/table_file.h"

#include <algorithm>

namespace harfcode {
namespace {

constexpr qsizetype kShownCharacters = 40;

// A line of the table's own shape: two characters, "=", then the slot's glyph.
bool hasTableShape(const QString& line, Slot slot)
{
    return line.size() >= kCodeLength && line.mid(kCodeLength) == tableLine(slot, QString());
}

QString quoted(const QString& line)
{
    const QList<uint> characters = line.toUcs4();
    if (characters.size() <= kShownCharacters)
        return u'"' + line + u'"';
    return u'"' + QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), kShownCharacters)
           + QStringLiteral("…\"");
}

}  // namespace

std::optional<QString> whyNotAnUnfilledTable(const QStringList& lines)
{
    qsizetype written = lines.size();
    while (written > 0 && lines[written - 1].isEmpty())
        --written;
    const qsizetype slotLines = std::min<qsizetype>(written, kSlotCount);
    bool tableShaped = slotLines > 0;
    for (qsizetype index = 0; tableShaped && index < slotLines; ++index)
        tableShaped = hasTableShape(lines[index], static_cast<Slot>(index + 1));
    if (tableShaped) {
        for (qsizetype index = 0; index < slotLines; ++index)
            if (const QString code = lines[index].left(kCodeLength); code != QLatin1StringView(kUnfilledCode))
                return QStringLiteral("has codes filled in already (slot %1 has \"%2\")").arg(index + 1).arg(code);
    }
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString expected = index < kSlotCount ? tableLine(static_cast<Slot>(index + 1), QString::fromLatin1(kUnfilledCode)) : QString();
        if (lines[index] != expected)
            return QStringLiteral("is not an unfilled table: line %1 is %2").arg(index + 1).arg(quoted(lines[index]));
    }
    if (!lines.isEmpty() && lines.size() < kSlotCount)
        return QStringLiteral("is not an unfilled table: it ends after line %1").arg(lines.size());
    return std::nullopt;
}

}  // namespace harfcode
