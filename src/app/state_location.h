#pragma once

#include <QString>

namespace tagwright {

/// Where tgw.usr lives (`strStateFile`): beside the program when the user may write its
/// folder, so that a portable copy and the build tree keep theirs; otherwise the per-user
/// tgw.usr in `userFolder` (created when missing). A tgw.usr beside the program in a folder
/// the user may not write belongs to someone else and is not read.
QString StateFilePath(const QString& programFolder, const QString& userFolder);

}  // namespace tagwright
