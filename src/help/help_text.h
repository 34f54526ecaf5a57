#pragma once

#include <string>

namespace tagwright {

/// Where the user manual lives: docs/manual.html, opened as a file address. Both the
/// documentation link and the help text point here; the maker's link opens its start.
std::string DocumentationAddress();
std::string HomePageAddress();

/// The fixed text of the help window, lines separated by CR LF.
std::string HelpText();

}  // namespace tagwright
