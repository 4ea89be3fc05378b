#pragma once

#include <QString>
#include <QStringList>

namespace harfcode::bench {

// Persian words with Latin capitals, digits and punctuation, as a display's text mixes them.
inline QString mixedPersianText(qsizetype length)
{
    const QStringList words = {
        QString::fromUtf8("سلام"),  QString::fromUtf8("کتاب"),   QString::fromUtf8("گل"),
        QString::fromUtf8("ایران"), QString::fromUtf8("عشق"),    QString::fromUtf8("بهار"),
        QString::fromUtf8("۱۴۰۳"), QStringLiteral("LED"),       QStringLiteral("42"),
        QString::fromUtf8("خوش"),   QString::fromUtf8("آمدید!"), QString::fromUtf8("چطوری؟"),
    };
    QString text;
    text.reserve(length);
    for (qsizetype i = 0; text.size() < length; ++i)
        text += words[i % words.size()] + u' ';
    text.truncate(length);
    return text;
}

}  // namespace harfcode::bench
