#pragma once

#include <QByteArray>
#include <QIODevice>

#include <algorithm>

namespace harfcode::testing {

// A sequential source (like a pipe) of `size` bytes: `prefix`, then `pattern` over and
// over. It hands out at most `maxPerRead` bytes per read, so a reader cannot count on
// full reads, and it counts what it handed out, so a test can see how far a reader went
// without the content ever existing in memory.
class PatternDevice : public QIODevice {
public:
    PatternDevice(QByteArray prefix, QByteArray pattern, qint64 size, qint64 maxPerRead)
        : m_prefix(std::move(prefix)), m_pattern(std::move(pattern)), m_size(size), m_maxPerRead(maxPerRead)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    // The whole of `content`, a few bytes at a time.
    PatternDevice(const QByteArray& content, qint64 maxPerRead)
        : PatternDevice(content, QByteArray(), content.size(), maxPerRead)
    {
    }

    bool isSequential() const override { return true; }
    qint64 handedOut() const { return m_position; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = std::min({maxSize, m_maxPerRead, m_size - m_position});
        for (qint64 i = 0; i < count; ++i, ++m_position) {
            data[i] = m_position < m_prefix.size()
                          ? m_prefix[m_position]
                          : m_pattern[(m_position - m_prefix.size()) % m_pattern.size()];
        }
        return count;
    }

    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_prefix;
    QByteArray m_pattern;
    qint64 m_size;
    qint64 m_maxPerRead;
    qint64 m_position = 0;
};

}  // namespace harfcode::testing
