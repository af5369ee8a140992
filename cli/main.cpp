// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <exception>
#include <iostream>

#include "ExtractCommand.h"

int main(int argc, char** argv) {
  TExtractOptions options;
  if (auto status = ParseExtractArguments(argc, argv, options, std::cout, std::cerr)) {
    return *status;
  }
  try {
    return RunExtract(options, STDIN_FILENO, std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tonbrix-extract: " << error.what() << '\n';
    return 1;
  }
}
