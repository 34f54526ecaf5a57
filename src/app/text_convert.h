#pragma once

#include <QString>

#include <string>
#include <string_view>

// Between the core's texts (UTF-8, lines ended by CR LF) and the window's (QString, lines
// ended by the widget's own break).

namespace tagwright {

/// A core result text as the result box shows it: CR LF becomes the box's line break.
QString ToBoxText(std::string_view text);
/// The result box's text as the program hands it on: line breaks become CR LF again.
QString FromBoxText(const QString& text);

/// A path typed or chosen in the window as the file system takes it.
std::string LocalPath(const QString& path);
/// A path from the file system as the window shows it.
QString FromLocalPath(const std::string& path);

}  // namespace tagwright
