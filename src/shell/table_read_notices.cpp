#include "shell/table_read_notices.h"

#include "table/slot_catalogue.h"

#include <QFileInfo>

namespace harfcode {

TableFileStamp stampOfFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified()};
}

TableReadNotices::TableReadNotices(QString tablePath)
    : m_tablePath(std::move(tablePath))
{
}

std::optional<QString> TableReadNotices::noticeFor(const TableReading& reading, const TableFileStamp& stamp)
{
    if (!reading.ok()) {
        if (std::exchange(m_readFailureTold, true))
            return std::nullopt;
        return reading.error->message() + (m_readOnce ? QStringLiteral(" The conversion goes on with the codes of the last successful read.")
                                                      : QStringLiteral(" Until it can be read, the conversion has no codes to show."));
    }
    m_readFailureTold = false;
    m_readOnce = true;
    if (!reading.hasSurplusLines) {
        m_surplusToldFor.reset();
        return std::nullopt;
    }
    if (m_surplusToldFor == stamp)
        return std::nullopt;
    m_surplusToldFor = stamp;
    return surplusLinesSentence(m_tablePath) + QStringLiteral(" The conversion uses the first %1 and ignores the rest.").arg(kSlotCount);
}

}  // namespace harfcode
