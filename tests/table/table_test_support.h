#pragma once

#include "table/slot_catalogue.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode::testing {

inline const QByteArray kUtf16LeBom("\xFF\xFE", 2);
inline const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);

// UTF-16LE bytes built unit by unit, independent of the encoder under test.
inline QByteArray utf16le(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar unit : text) {
        bytes.append(static_cast<char>(unit.unicode() & 0xFF));
        bytes.append(static_cast<char>(unit.unicode() >> 8));
    }
    return bytes;
}

// The text of a table file as the program writes it, with every code string `code`.
inline QString tableText(const QString& code)
{
    QString text;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        text += code + u'=';
        if (const char16_t glyph = glyphOfSlot(slot))
            text += QChar(glyph);
        text += u"\r\n";
    }
    return text;
}

// Each test gets a fresh folder, with the table file's path in it.
class TableFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString folderPath() const { return m_folder.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }
    QString tablePath() const { return filePath(QStringLiteral("HexTable.txt")); }

private:
    QTemporaryDir m_folder;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return {};
    }
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace harfcode::testing
