#include "firmware/strings_file.h"

#include "c_source/c_names.h"
#include "conversion/slot_selection.h"
#include "files/file_access.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <optional>

namespace harfcode {
namespace {

bool hasGlyph(QStringView text)
{
    const std::vector<Slot> slots = selectSlots(text);
    return std::any_of(slots.begin(), slots.end(), [](Slot slot) { return slot != kNoSlot; });
}

bool isBlank(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

// Every identifier the header defines, with the entry that defines it.
class DefinedNames {
public:
    // Takes the names of the entry `name` on `line`, or says why they are taken already.
    std::optional<QString> take(const QString& name, long line)
    {
        const QString names[] = {name, lengthMacro(name), rowsMacro(name), rowStartArray(name), rowXArray(name)};
        for (const QString& defined : names) {
            const auto taken = m_owners.constFind(defined);
            if (taken == m_owners.cend())
                continue;
            if (defined == name && taken->name == name)
                return QStringLiteral("\"%1\" is already the name of the entry on line %2").arg(name).arg(taken->line);
            if (defined == name)
                return QStringLiteral("\"%1\" is defined by the entry \"%2\" on line %3").arg(name, taken->name).arg(taken->line);
            return QStringLiteral("\"%1\" defines %2, the name of the entry on line %3").arg(name, defined).arg(taken->line);
        }
        for (const QString& defined : names)
            m_owners.insert(defined, {name, line});
        return std::nullopt;
    }

private:
    struct Owner {
        QString name;
        long line;
    };
    QHash<QString, Owner> m_owners;
};

}  // namespace

QString StringsFileError::message(const QString& path) const
{
    return QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(reason);
}

QString lengthMacro(const QString& name)
{
    return name + QLatin1StringView("_LENGTH");
}

QString rowsMacro(const QString& name)
{
    return name + QLatin1StringView("_ROWS");
}

QString rowStartArray(const QString& name)
{
    return name + QLatin1StringView("_ROW_START");
}

QString rowXArray(const QString& name)
{
    return name + QLatin1StringView("_ROW_X");
}

StringsFile parseStringsFile(QByteArrayView bytes, const QStringList& headerMacros)
{
    if (bytes.startsWith(kUtf8ByteOrderMark))
        bytes = bytes.sliced(kUtf8ByteOrderMark.size());
    StringsFile file;
    DefinedNames definedNames;
    long lineNumber = 0;
    while (!bytes.isEmpty()) {
        ++lineNumber;
        // Lines end at LF, CR LF or a lone CR, as in the table file.
        const auto end = std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
        const QByteArrayView lineBytes = bytes.first(end - bytes.begin());
        const qsizetype lineEnd = end == bytes.end() ? 0 : (*end == '\r' && end + 1 != bytes.end() && end[1] == '\n') ? 2 : 1;
        bytes = bytes.sliced(lineBytes.size() + lineEnd);

        const auto fail = [&](const QString& reason) { file.errors.push_back({lineNumber, reason}); };
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decoder(lineBytes);
        if (decoder.hasError()) {
            fail(QStringLiteral("the line is not valid UTF-8"));
            continue;
        }
        if (isBlank(line) || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            fail(QStringLiteral("expected NAME=TEXT, a blank line or a comment starting with \"#\""));
            continue;
        }
        // The name is ASCII once it is valid: its units are its characters.
        StringsEntry entry{line.first(equals), line.sliced(equals + 1), lineNumber, equals + 1};
        std::optional<QString> problem = nameProblem(entry.name, headerMacros);
        if (!problem && !hasGlyph(entry.text))
            problem = QStringLiteral("the text of \"%1\" has no glyph, and an array cannot be empty").arg(entry.name);
        if (!problem)
            problem = definedNames.take(entry.name, lineNumber);
        if (problem) {
            fail(*problem);
            continue;
        }
        file.entries.push_back(std::move(entry));
    }
    return file;
}

}  // namespace harfcode
