#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"

namespace tagwright::test {

/// What a run of the command line gave: its exit status and both streams.
struct CliResult {
  int status;
  std::string out;
  std::string err;
};

/// Runs the command line with `args` (the program name left out) in this process.
inline CliResult Cli(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = cli::RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace tagwright::test
