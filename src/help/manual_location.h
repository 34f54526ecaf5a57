#pragma once

#include <QString>

namespace tagwright {

/// The name of the file that the build writes beside the programs it builds. It holds the
/// source tree's folder, so that a program run from its build folder finds the manual in the
/// sources; an installed program has no such file and no build path compiled in.
inline constexpr char kBuildTreeMarker[] = "tagwright-build-tree.txt";

/// The user manual's full path, found relative to the program in `programDir` (by default the
/// running program's folder):
///  1. the installed manual, ../share/doc/tagwright/manual.html from the program's folder;
///  2. for a program in its build folder (one with the marker file), the manual in the source
///     tree the marker names;
///  3. otherwise the installed manual's place, even though nothing is there.
QString ManualPath(const QString& programDir = {});

}  // namespace tagwright
