#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "interrupt.h"

int main(int argc, char** argv) {
  // A closed pipe ends the program quietly, as for other filters, even when the parent
  // left SIGPIPE ignored.
  std::signal(SIGPIPE, SIG_DFL);
  // Before any thread starts: an interrupt lets the page being written finish.
  tagwright::cli::HandleInterrupts();
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return tagwright::cli::RunCli(args, std::cout, std::cerr, std::cin, ::isatty(2) == 1);
}
