#pragma once

#include "files/file_access.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace harfcode {

// Why a path is refused as a file to read or to replace, in the same words on every system.
inline constexpr char kFolderRefusal[] = "it is a folder, not a file";
inline constexpr char kDeviceRefusal[] = "it is a device, not a file";
inline constexpr char kNamedPipeRefusal[] = "it is a named pipe, not a file";
inline constexpr char kNotRegularRefusal[] = "it is not a regular file";

// Why an output is not written over `input`, one of the files it is made from.
QString sameFileRefusal(const QString& input);

// The one of `inputs` that is the file of `identity` itself (the same device and inode, or
// volume and file index: however it is named, through a link, in another case or by a short
// name), if any.
std::optional<QString> inputThatIs(const FileIdentity& identity, const QStringList& inputs);

}  // namespace harfcode
