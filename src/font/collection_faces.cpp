#include "font/collection_faces.h"

#include "font/display_font.h"

#include <QStringList>

namespace harfcode {

std::optional<QString> collectionFacesNote(const QByteArray& fontBytes, const FontFace& used, const CodeStrings& codes,
                                           Hinting hinting)
{
    if (used.faceCount() < 2)
        return std::nullopt;
    QStringList whole;
    for (int index = 0; index < used.faceCount(); ++index) {
        if (index == used.faceIndex())
            continue;
        auto opened = FontFace::fromBytes(fontBytes, used.pixelSize(), index);
        const auto* face = std::get_if<std::unique_ptr<FontFace>>(&opened);
        if (face && partialDisplayFont(**face, codes, hinting).problems.missingGlyphs.empty())
            whole.append(QString::number(index));
    }
    const QString others = whole.isEmpty()       ? QStringLiteral("no other face has every glyph")
                           : whole.size() == 1   ? QStringLiteral("face %1 has every glyph").arg(whole.first())
                                                 : QStringLiteral("faces %1 have every glyph").arg(whole.join(QStringLiteral(", ")));
    return QStringLiteral("holds %1 faces; face %2 (%3) was used; %4")
        .arg(used.faceCount())
        .arg(used.faceIndex())
        .arg(used.family(), others);
}

}  // namespace harfcode
