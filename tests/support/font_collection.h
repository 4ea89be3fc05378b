#pragma once

// A font collection (TrueType Collection, "ttcf") made of whole font files, for tests of the
// faces of a collection.

#include <QByteArray>
#include <QtEndian>

#include <vector>

namespace harfcode {

// `fonts`, each an sfnt file (TrueType or OpenType), as the faces of one collection in that order.
inline QByteArray fontCollection(const std::vector<QByteArray>& fonts)
{
    const auto put32 = [](QByteArray& bytes, qsizetype at, quint32 value) { qToBigEndian(value, bytes.data() + at); };
    QByteArray collection("ttcf\0\1\0\0", 8);
    collection.append(QByteArray(4 + 4 * qsizetype(fonts.size()), '\0'));
    put32(collection, 8, quint32(fonts.size()));
    for (std::size_t face = 0; face < fonts.size(); ++face) {
        collection.append(QByteArray((4 - collection.size() % 4) % 4, '\0'));
        const auto base = quint32(collection.size());
        put32(collection, 12 + 4 * qsizetype(face), base);
        QByteArray font = fonts[face];
        // Each table's offset counts from the start of the file, which is now the collection's.
        const int tables = qFromBigEndian<quint16>(font.constData() + 4);
        for (int table = 0; table < tables; ++table) {
            const qsizetype record = 12 + 16 * table + 8;
            put32(font, record, qFromBigEndian<quint32>(font.constData() + record) + base);
        }
        collection.append(font);
    }
    return collection;
}

}  // namespace harfcode
