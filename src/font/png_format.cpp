#include "font/png_format.h"

#include <QBuffer>
#include <QImageWriter>

namespace harfcode {

std::variant<QByteArray, QString> pngFile(QImage picture, const FontExportSource& source)
{
    picture.setText(QStringLiteral("Software"), source.program);
    picture.setText(QStringLiteral("Source"),
                    QStringLiteral("%1 (%2, %3 px)").arg(source.fontFile, source.family).arg(source.pixelSize));
    picture.setText(QStringLiteral("Comment"), QStringLiteral("Command: %1").arg(source.commandLine));
    if (!source.copyright.isEmpty())
        picture.setText(QStringLiteral("Copyright"), source.copyright);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture))
        return writer.errorString();
    return bytes;
}

}  // namespace harfcode
