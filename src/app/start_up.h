#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace tagwright {

/// Names and version as the program shows them; set before anything else.
void SetProgramNames();

/// Reads the program's arguments (`arguments[0]` is the program): the page to open, or "".
/// --help and --version answer on standard output and end the program with status 0; a wrong
/// option or a second page is reported on standard error and ends it with status 1.
QString ReadCommandLine(const QStringList& arguments);

/// True when no graphical display can be reached: no X display or Wayland compositor is
/// named and no other Qt platform is chosen (QT_QPA_PLATFORM).
bool GraphicalDisplayMissing();

/// The program's icon: from the desktop's icon theme, else from the icons installed beside the
/// program in `programFolder`/../share/icons; null when there is none.
QIcon ProgramIcon(const QString& programFolder);

}  // namespace tagwright
