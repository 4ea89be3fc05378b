#include "firmware/strings_file.h"

#include "conversion/slot_selection.h"
#include "files/file_access.h"
#include "firmware/reserved_names.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <optional>

namespace harfcode {
namespace {


// The keywords of C (up to C23) and C++ (up to C++20), the alternative operator spellings
// among them: a name that is one of them cannot be declared in both languages.
constexpr const char* kKeywords[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break",
    "case", "catch", "char", "char16_t", "char32_t", "char8_t", "class", "co_await", "co_return",
    "co_yield", "compl", "concept", "const", "const_cast", "consteval", "constexpr", "constinit",
    "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast", "else", "enum",
    "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
    "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "restrict", "return", "short", "signed", "sizeof", "static", "static_assert",
    "static_cast", "struct", "switch", "template", "this", "thread_local", "throw", "true", "try",
    "typedef", "typeid", "typename", "typeof", "typeof_unqual", "union", "unsigned", "using",
    "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
};

bool isKeyword(const QString& name)
{
    return std::any_of(std::begin(kKeywords), std::end(kKeywords), [&](const char* keyword) { return name == QLatin1StringView(keyword); });
}

// What <stdint.h> declares or may declare: its types (and every other name ending in "_t",
// which POSIX reserves) and its limit and constant macros.
bool isStdintName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(?:\\w*_t"
        "|U?INT(?:\\d+|_LEAST\\d+|_FAST\\d+|PTR|MAX)_(?:MIN|MAX|C|WIDTH)"
        "|(?:PTRDIFF|SIG_ATOMIC|SIZE|WCHAR|WINT)_(?:MIN|MAX|WIDTH))$"));
    return pattern.match(name).hasMatch();
}

bool isAsciiIdentifier(const QString& name)
{
    const auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return !name.isEmpty() && isLetter(name.front())
           && std::all_of(name.begin(), name.end(), [&](QChar c) { return isLetter(c) || isDigit(c); });
}

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
        const QString names[] = {name, lengthMacro(name), rowsMacro(name)};
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

std::optional<QString> nameProblem(const QString& name, const QStringList& headerMacros)
{
    if (name.isEmpty())
        return QStringLiteral("the name before \"=\" is empty");
    if (!isAsciiIdentifier(name))
        return QStringLiteral("\"%1\" is not a C identifier (ASCII letters, digits and \"_\", not starting with a digit)").arg(name);
    if (name.startsWith(u'_') || name.contains(QLatin1StringView("__")))
        return QStringLiteral("\"%1\" starts with \"_\" or contains \"__\"; such names belong to the compiler").arg(name);
    if (isKeyword(name))
        return QStringLiteral("\"%1\" is a C or C++ keyword").arg(name);
    if (isStdintName(name))
        return QStringLiteral("\"%1\" is a name that <stdint.h> defines or may define").arg(name);
    if (name == u"main")  // GCC warns when main is not a function
        return QStringLiteral("\"main\" is the name of the program's entry function");
    if (headerMacros.contains(name))
        return QStringLiteral("\"%1\" is a macro of the header itself").arg(name);
    if (const std::optional<QString> reason = reservedNameReason(name))
        return QStringLiteral("\"%1\" is %2").arg(name, *reason);
    return std::nullopt;
}

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
