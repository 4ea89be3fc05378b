#include "c_source/c_names.h"

#include "c_source/reserved_names.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

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

std::optional<QString> prefixProblem(const QString& prefix, const QStringList& names)
{
    if (std::optional<QString> problem = nameProblem(prefix, {QStringLiteral("PROGMEM")}))
        return problem;
    for (const QString& name : names)
        if (std::optional<QString> problem = nameProblem(name, {}))
            return problem;
    return std::nullopt;
}

}  // namespace harfcode
