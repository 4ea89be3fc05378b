#pragma once

// The whole of a file the test reads, failing the test where it cannot be opened.

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

}  // namespace harfcode
