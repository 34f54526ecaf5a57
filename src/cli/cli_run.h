#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tagwright::cli {

/// Runs tagwright-cli with `args` (without the program name). A FILE of "-" reads `in`. When
/// `stderrIsTerminal`, a batch that takes longer than a second shows a progress line on `err`.
/// Returns the exit status: 0 on success, 1 when a file could not be processed or the output
/// could not be written, 2 for a mistake in the options (and nothing is written).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::istream& in, bool stderrIsTerminal = false);

/// The same, with no standard input (a FILE of "-" reads an empty page).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli
