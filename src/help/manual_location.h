#pragma once

#include <QString>

namespace tagwright {

/// The user manual's full path: beside an installed program (../share/doc/tagwright from the
/// program's folder) when it is there, otherwise the docs folder of the source tree it was
/// built from. `programDir` defaults to the running program's folder.
QString ManualPath(const QString& programDir = {});

}  // namespace tagwright
