#pragma once

// The texts of tests/data/conversion_texts.tsv, which the conversion and display-order tests
// check and the shaper's differential test feeds to the firmware's shaper; the file's head
// tells its format. Each test's build passes the file's path in.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace harfcode::testing {

struct ConversionText {
    int line = 0;    // in the file
    QString kind;    // typing, visual or codes: what `slots` or `codes` give
    QString rule;
    QString text;
    std::vector<int> slots;  // typing and visual
    QStringList codes;       // codes: typing order, reverse order, the length caption

    std::string where() const { return QStringLiteral("line %1: \"%2\"").arg(line).arg(text).toStdString(); }
};

struct ConversionTexts {
    std::vector<ConversionText> texts;
    QString error;  // the first line that cannot be read, or the file's own fault
};

// A field with its escapes undone, "-" standing for an empty one; nothing when an escape is
// not \t, \\ or \uXXXX.
inline std::optional<QString> unescapedField(const QString& field)
{
    if (field == QLatin1String("-"))
        return QString();
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\') {
            text += field[i];
            continue;
        }
        const QStringView escape = QStringView(field).sliced(i + 1);
        if (escape.startsWith(u't') || escape.startsWith(u'\\')) {
            text += escape.startsWith(u't') ? QChar(u'\t') : QChar(u'\\');
            i += 1;
            continue;
        }
        bool hexadecimal = false;
        const ushort unit = escape.startsWith(u'u') && escape.size() >= 5 ? escape.sliced(1, 4).toUShort(&hexadecimal, 16) : 0;
        if (!hexadecimal)
            return std::nullopt;
        text += QChar(unit);
        i += 5;
    }
    return text;
}

inline std::optional<std::vector<int>> slotNumbers(const QString& field)
{
    std::vector<int> slots;
    for (const QString& number : field.split(u' ', Qt::SkipEmptyParts)) {
        bool isNumber = false;
        slots.push_back(number.toInt(&isNumber));
        if (!isNumber)
            return std::nullopt;
    }
    return slots;
}

inline ConversionTexts readConversionTexts(const QString& path)
{
    ConversionTexts read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return read;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString& line = lines[index];
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        ConversionText text;
        text.line = int(index + 1);
        QStringList fields;
        for (const QString& field : line.split(u'\t')) {
            const std::optional<QString> unescaped = unescapedField(field);
            if (!unescaped) {
                read.error = QStringLiteral("%1:%2: an escape other than \\t, \\\\ or \\uXXXX").arg(path).arg(text.line);
                return read;
            }
            fields.append(*unescaped);
        }
        text.kind = fields.value(0);
        text.rule = fields.value(1);
        text.text = fields.value(2);
        const bool ofSlots = text.kind == QLatin1String("typing") || text.kind == QLatin1String("visual");
        const std::optional<std::vector<int>> slots = slotNumbers(fields.value(3));
        if (ofSlots && fields.size() == 4 && slots) {
            text.slots = *slots;
        } else if (text.kind == QLatin1String("codes") && fields.size() == 6) {
            text.codes = fields.mid(3);
        } else {
            read.error = QStringLiteral("%1:%2: expected typing or visual and 4 fields, the last slot numbers, or codes and 6 fields")
                             .arg(path).arg(text.line);
            return read;
        }
        read.texts.push_back(text);
    }
    return read;
}

// The texts of `kind` (and of `rule`, where given) in the file at `path`; a failure of the test
// where the file cannot be read or holds none.
inline std::vector<ConversionText> conversionTextsOf(const QString& path, const QString& kind, const QString& rule = {})
{
    const ConversionTexts file = readConversionTexts(path);
    std::vector<ConversionText> found;
    for (const ConversionText& text : file.texts)
        if (text.kind == kind && (rule.isEmpty() || text.rule == rule))
            found.push_back(text);
    if (!file.error.isEmpty())
        ADD_FAILURE() << file.error.toStdString();
    else if (found.empty())
        ADD_FAILURE() << "no text of " << kind.toStdString() << " " << rule.toStdString() << " in " << path.toStdString();
    return found;
}

}  // namespace harfcode::testing
