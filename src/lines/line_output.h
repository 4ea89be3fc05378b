#pragma once

#include <QByteArray>

namespace harfcode {

// Where the converter's output goes: it appends to pending() and calls written() after each
// piece of a line, which may hand the bytes on, so that a long line never gathers in memory.
class LineOutput {
public:
    virtual QByteArray& pending() = 0;
    virtual void written() = 0;

protected:
    ~LineOutput() = default;
};

}  // namespace harfcode
