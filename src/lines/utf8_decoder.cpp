#include "lines/utf8_decoder.h"

#include <QStringDecoder>

#include <unicode/ustring.h>

#include <limits>

namespace harfcode {

std::optional<QStringView> Utf8Decoder::decode(QByteArrayView bytes)
{
    // A UTF-8 text never has more UTF-16 units than bytes.
    m_text.resize(bytes.size());
    if (bytes.size() < std::numeric_limits<int32_t>::max()) {
        // ICU's decoder, several times as fast as Qt's on Persian text: most of a converter
        // run on typical input.
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = 0;
        u_strFromUTF8(reinterpret_cast<UChar*>(m_text.data()), static_cast<int32_t>(m_text.size()), &length,
                      bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        if (U_FAILURE(status))
            return std::nullopt;
        return QStringView(m_text.constData(), length);
    }
    // Beyond ICU's 32-bit lengths.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar* end = decoder.appendToBuffer(m_text.data(), bytes);
    if (decoder.hasError())
        return std::nullopt;
    return QStringView(m_text.constData(), end);
}

}  // namespace harfcode
