// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What the command line of tonbrix-extract asks for.
struct TExtractOptions {
  std::string OutputDir;           // empty: the current folder
  bool Force = false;              // replace files present before the run
  bool List = false;               // write nothing; list the parts
  std::vector<std::string> Mails;  // "-" is standard input
};

// Parses the arguments. Returns the exit status when the program ends here: 0 after
// --help or --version (printed to out), 2 after a usage error (explained on err).
std::optional<int> ParseExtractArguments(int argc, const char* const* argv,
                                         TExtractOptions& options, std::ostream& out,
                                         std::ostream& err);

// Extracts every MIDI part of every mail as options say, reading "-" from stdinFd. Paths
// written (or, with List, the listing) go to out; errors to err as
// "tonbrix-extract: MAIL: MESSAGE". Returns 1 if anything failed, else 0.
int RunExtract(const TExtractOptions& options, int stdinFd, std::ostream& out, std::ostream& err);
