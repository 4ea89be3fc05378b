#include "font/family_in_folders.h"

#include "font/font_face.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace harfcode {

std::optional<FontFile> familyInFolders(const QString& family, const QStringList& folders)
{
    std::optional<FontFile> anyStyle;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({"*.ttf", "*.otf", "*.ttc"}, QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            // Mapped, not read: only the tables that name the faces are ever touched, which keeps
            // a look through a system's hundreds of fonts quick.
            QFile file(path);
            const uchar* mapped = file.open(QIODevice::ReadOnly) ? file.map(0, file.size()) : nullptr;
            if (!mapped)
                continue;
            const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size());
            for (const FaceFamily& face : FontFace::faceFamilies(bytes)) {
                if (!face.names.contains(family, Qt::CaseInsensitive))
                    continue;
                if (face.regular)
                    return FontFile{path, face.faceIndex};
                if (!anyStyle)
                    anyStyle = FontFile{path, face.faceIndex};
            }
        }
    }
    return anyStyle;
}

}  // namespace harfcode
