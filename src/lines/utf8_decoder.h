#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace harfcode {

// Decodes UTF-8 input lines into one reused string. Anything ill-formed, an incomplete
// sequence at the end included, is an error: the text must not be converted silently wrong.
class Utf8Decoder {
public:
    // The text of `bytes`, valid until the next call; nothing if it is not UTF-8.
    std::optional<QStringView> decode(QByteArrayView bytes);

private:
    QString m_text;
};

}  // namespace harfcode
