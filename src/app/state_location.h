#pragma once

#include <QString>

namespace tagwright {

/// True for a program installed on the system: its folder lies under a system prefix (/usr,
/// /bin, /sbin, /opt, /snap), or its manual is installed in ../share/doc/tagwright beside it.
bool InstalledProgram(const QString& programFolder);

/// Where tgw.usr lives (`strStateFile`). An installed program keeps it in the per-user
/// `userFolder` (created when missing), for every user including root, so that nothing is
/// written among the system's files. A copy run from its own folder (the build folder or an
/// unpacked copy) keeps it beside the program when the user may write that folder, and
/// otherwise in `userFolder` too. A tgw.usr beside the program that is not used is not read.
QString StateFilePath(const QString& programFolder, const QString& userFolder);

}  // namespace tagwright
