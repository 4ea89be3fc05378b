#pragma once

#include <QString>

namespace harfcode {

// Where the glyph code table lives, by one rule for the windows and for harfcode-cli.
//
// `programDir` is the program's own directory, empty when it cannot be determined;
// `userDataDir` is the user's data folder (normally ~/.local/share, on Windows %LOCALAPPDATA%).
// The table is HexTable.txt beside the program, as in a build folder or a portable copy, when
// that directory already holds an entry of that name, or is writable by the user (Linux), or
// holds the portable zip's marker, portable.txt (Windows); on Linux never under /usr/.
// Otherwise it is HexTable.txt in userDataDir/harfcode: an installed program
// never writes beside itself, not even when root starts it.
QString tableLocation(const QString& programDir, const QString& userDataDir);

// Creates the folder that holds the table at `tablePath` where it is missing, every folder
// made readable by the user alone (0700). A folder that cannot be made shows up as the
// failure of the write that follows, which names the table and the reason.
void ensureTableFolder(const QString& tablePath);

}  // namespace harfcode
