// SPDX-License-Identifier: MIT
// Declared-name extraction from a header block, and the safe-name rule, on any bytes:
// a safe name is never empty, ".", "..", holds no "/", "\", control byte or bidirectional
// control, is valid UTF-8 and fits in 255 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "DeclaredName.h"
#include "SafeFileName.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSafe(const AnsiString& name) {
  if (name.empty()) return;  // nothing usable: the caller falls back to another name
  Check(name != "." && name != ".." && name.size() <= kMaxFileNameBytes);
  Check(name.find_first_of("/\\") == AnsiString::npos);
  for (unsigned char c : name) Check(c >= 0x20 && c != 0x7F);
  for (std::string_view bidi : {"\u202A", "\u202B", "\u202C", "\u202D", "\u202E", "\u2066",
                                "\u2067", "\u2068", "\u2069", "\u200E", "\u200F"}) {
    Check(name.find(bidi) == AnsiString::npos);
  }
  Check(ToUtf8(name, "UTF-8").has_value());
  Check(name.front() != '.' && name.front() != ' ' && name.back() != '.' && name.back() != ' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckSafe(SafeFileName(bytes));
  TStringList lines;
  lines.Add("------=_P");
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (line.find('\0') == std::string_view::npos) lines.Add(line);
    start = end + 1;
  }
  CheckSafe(SafeFileName(DeclaredFileName(lines, 0)));
  return 0;
}
