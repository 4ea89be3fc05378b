#include "font/field_overflow.h"

namespace harfcode {

QString FieldOverflow::description() const
{
    const QString fits = QStringLiteral("%1 %2 does not fit its %3 (%4 to %5)")
                             .arg(field)
                             .arg(value)
                             .arg(QLatin1StringView(range.type))
                             .arg(range.minimum)
                             .arg(range.maximum);
    if (!glyph)
        return fits;
    return QStringLiteral("code %1, %2: %3").arg(QString::asprintf("%02X", glyph->code), slotName(glyph->slot), fits);
}

void FieldCheck::check(const DisplayGlyph* glyph, const char* field, long value, FieldRange range)
{
    if (!m_overflow && (value < range.minimum || value > range.maximum))
        m_overflow = FieldOverflow{glyph ? std::optional<DisplayGlyph>(*glyph) : std::nullopt,
                                   QLatin1StringView(field), value, range};
}

}  // namespace harfcode
