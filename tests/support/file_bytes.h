#pragma once

// Files a test reads or writes whole, failing the test where they cannot be.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace harfcode {

inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
}

}  // namespace harfcode
