// Writes the bash completion of tagwright-cli to the file named by its argument.

#include <fstream>
#include <iostream>

#include "cli_options.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: tagwright_completion FILE\n";
    return 2;
  }
  std::ofstream file(argv[1], std::ios::binary);
  file << tagwright::cli::BashCompletion();
  file.close();
  if (!file) {
    std::cerr << "tagwright_completion: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
