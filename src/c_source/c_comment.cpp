#include "c_source/c_comment.h"

#include "conversion/character_names.h"

#include <QList>

namespace harfcode {
namespace {

// "*/" ends a comment, "/*" inside one draws -Wcomment, "??" may start a trigraph.
bool mustBeSeparated(char32_t previous, char32_t next)
{
    return (previous == u'*' && next == u'/') || (previous == u'/' && next == u'*')
           || (previous == u'?' && next == u'?');
}

QString speltOut(char32_t c)
{
    return u'<' + codePointName(c) + u'>';
}

}  // namespace

QString commentText(QStringView text)
{
    QString out;
    char32_t previous = 0;
    for (const char32_t c : text.toUcs4()) {
        // What would end a comment line, or what GCC flags in a comment (-Wbidi-chars=any).
        if (isUnseenControl(c)) {
            out += speltOut(c);
            previous = 0;
            continue;
        }
        if (mustBeSeparated(previous, c))
            out += u'\\';
        out += QString::fromUcs4(&c, 1);
        previous = c;
    }
    // A backslash at the end of a comment line would join the next line to it.
    if (out.endsWith(u'\\')) {
        out.chop(1);
        out += speltOut(u'\\');
    }
    return out;
}

}  // namespace harfcode
