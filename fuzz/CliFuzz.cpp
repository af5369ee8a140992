// SPDX-License-Identifier: MIT
// tonbrix-extract's whole run on one mail into a fresh folder: nothing may be created
// outside the output folder, and the folder holds only plain files.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ExtractCommand.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A fresh folder for every input, gone again afterwards (libFuzzer ends without
  // running exit handlers, so nothing is left for the end).
  std::string pattern = (fs::temp_directory_path() / "tonbrix-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  const fs::path root = pattern;
  const fs::path mail = root / "mail.eml", out = root / "out";
  std::ofstream(mail, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  TExtractOptions options;
  options.OutputDir = out.string();
  options.Mails = {mail.string()};
  std::ostringstream printed, errors;
  RunExtract(options, -1, printed, errors);
  for (const auto& entry : fs::directory_iterator(root)) {
    if (entry.path() != mail && entry.path() != out) std::abort();
  }
  for (const auto& entry : fs::directory_iterator(out)) {
    if (!entry.is_regular_file() || entry.is_symlink()) std::abort();
  }
  fs::remove_all(root);
  return 0;
}
