#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tagwright::cli {

/// Runs tagwright-cli with `args` (without the program name). Returns the exit status: 0 on
/// success, 1 when reading or analysing a file failed, 2 for a mistake on the command line.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli
