#pragma once

#include <QString>

namespace harfcode {

// Why a path is refused as a file to read or to replace, in the same words on every system.
inline constexpr char kFolderRefusal[] = "it is a folder, not a file";
inline constexpr char kDeviceRefusal[] = "it is a device, not a file";
inline constexpr char kNamedPipeRefusal[] = "it is a named pipe, not a file";
inline constexpr char kNotRegularRefusal[] = "it is not a regular file";

// Why an output is not written over `input`, one of the files it is made from.
QString sameFileRefusal(const QString& input);

}  // namespace harfcode
