#pragma once

#include "table/code_strings.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace harfcode::testing {

// A temporary folder that holds (or lacks) the table file of one test.
class TableFolder {
public:
    TableFolder() = default;
    TableFolder(const TableFolder&) = delete;
    TableFolder& operator=(const TableFolder&) = delete;
    ~TableFolder();  // gives write permission back, so that the folder can be removed

    QString path() const { return m_dir.path(); }
    QString tablePath() const { return m_dir.filePath(QStringLiteral("HexTable.txt")); }

    QByteArray tableBytes() const;
    void writeTable(const CodeStrings& codes) const;
    void writeTableBytes(const QByteArray& bytes) const;
    // Lines of UTF-16LE text with the byte-order mark, each ended by CR LF.
    void writeTableLines(const QStringList& lines) const;
    // A folder where the table should be: it can be neither read nor replaced.
    void replaceTableByFolder() const;
    void removeTable() const;
    // Takes write permission away from the folder; false where it is not enforced (root).
    bool makeReadOnly() const;

private:
    QTemporaryDir m_dir;
};

// The default table with the given slots changed.
CodeStrings codesWith(std::initializer_list<std::pair<int, QString>> changes);

template <typename Widget>
Widget* child(const QWidget& window, const QString& name)
{
    auto* widget = window.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

}  // namespace harfcode::testing
