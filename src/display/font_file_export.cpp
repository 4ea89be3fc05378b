#include "display/font_file_export.h"

#include "files/file_access.h"
#include "font/export_warnings.h"

namespace harfcode {

FontFileExport exportFontFile(const QString& path, FontFormat format, int zoom, const FontToExport& source)
{
    if (!source.font.whole())
        return {false, QStringLiteral("Nothing is exported: %1.").arg(source.font.problems.descriptions(QStringLiteral("fill in your display's codes in the Hex Table window")).join(QStringLiteral("; ")))};
    FontExportSettings settings;
    settings.format = format;
    settings.zoom = zoom;
    const FontExportSource notes{QStringLiteral("harfcode " HARFCODE_VERSION),
                                 QStringLiteral("Export Font\u2026 in the Display window"), source.fontFile,
                                 source.face.family(), source.face.copyright(), source.face.pixelSize()};
    const ExportedFont exported = exportedFont(settings, source.face, source.font.font, notes, source.codes);
    if (const auto* failure = std::get_if<FontExportFailure>(&exported.bytes))
        return {false, QStringLiteral("Nothing is exported: %1.").arg(failure->reason)};
    const FileReplacement written =
        replaceFileAtomically(path, std::get<QByteArray>(exported.bytes), {source.tablePath, source.fontFile});
    if (written.failure)
        return {false, QStringLiteral("Cannot write \"%1\": %2.").arg(path, *written.failure)};
    QString message = QStringLiteral("Exported the font to \"%1\".").arg(path);
    if (written.notKept)
        message += QStringLiteral(" The file could not keep %1.").arg(*written.notKept);
    // The converter's warnings, a line each.
    for (const QString& warning : exportWarnings(source.font.font, format, source.face.pixelSize(), exported))
        message += QStringLiteral("\nWarning: %1.").arg(warning);
    return {true, message};
}

}  // namespace harfcode
