#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace harfcode {

// One NAME=TEXT line of a strings file.
struct StringsEntry {
    QString name;
    QString text;  // everything after the first "=", blanks included
    long line;     // from 1
    qsizetype charactersBeforeText = 0;  // of its line: the name and the "="
};

// What is wrong with one line of a strings file.
struct StringsFileError {
    long line;
    QString reason;

    // e.g. strings.txt:3: "int" is a C or C++ keyword
    QString message(const QString& path) const;
};

struct StringsFile {
    std::vector<StringsEntry> entries;     // the valid lines, in file order
    std::vector<StringsFileError> errors;  // at most one per line, in line order
};

// The names the header defines for the entry `name` besides its array; no other entry may
// take them, whatever rows the header is written with.
QString lengthMacro(const QString& name);
QString rowsMacro(const QString& name);
QString rowStartArray(const QString& name);  // rows in pixels: where each row's codes start
QString rowXArray(const QString& name);      // rows in pixels: where each row's pen starts

// Parses the bytes of a strings file: UTF-8 (a leading byte-order mark is skipped), lines
// ending at LF, CR LF or CR; blank lines and lines starting with "#" are skipped, every other
// line is NAME=TEXT. NAME must be a C identifier usable in C and C++ alike, not one of
// `headerMacros` nor anything another entry defines; TEXT must have a glyph, as an array
// cannot be empty. Every line is checked, so that one run names every error.
StringsFile parseStringsFile(QByteArrayView bytes, const QStringList& headerMacros);

}  // namespace harfcode
