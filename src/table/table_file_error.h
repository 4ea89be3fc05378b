#pragma once

#include <QString>

namespace harfcode {

// Why the table file could not be read or written, in words a user can act on.
struct TableFileError {
    enum class Operation { Read, Write };

    Operation operation;
    QString path;
    QString reason;  // the system's reason, or what is wrong with the content

    // One sentence naming the file and the reason, e.g.
    // Could not read the glyph code table "/x/HexTable.txt": Permission denied.
    QString message() const;
};

}  // namespace harfcode
