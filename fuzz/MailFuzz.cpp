// SPDX-License-Identifier: MIT
// A mail's bytes through reading, scanning, gathering and decoding, with a host that takes
// every part into memory. Checks what must hold for any input, not only that nothing
// crashes: entry shape, and the decoded size against the body's alphabet bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Base64.h"
#include "MailExtractor.h"
#include "MailReader.h"
#include "MailScanner.h"

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first byte chooses the block size, so block ends fall everywhere.
  const std::size_t block = size == 0 ? 1 : 1 + data[0] % 131;
  TStringList lines;
  TMailLineReader reader(lines);
  for (std::size_t at = 0; at < bytes.size(); at += block) {
    if (!reader.Feed(bytes.substr(at, block))) break;
  }
  reader.Finish();
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view entry = lines[i];
    Check(entry.size() <= kPieceLength);
    Check(entry.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    Check(entry.empty() || static_cast<unsigned char>(entry.back()) > 32);
  }
  std::size_t last = 0;
  FindMidiParts(lines, [&](const TMidiPart& part) {
    Check(part.HeaderStart < part.BodyStart && (last == 0 || part.HeaderStart >= last));
    last = part.BodyStart;
    TStringList body;
    GatherBody(lines, part.BodyStart, body);
    std::size_t alphabet = 0;
    for (char c : body.Chars()) alphabet += Base64Value(c) >= 0 ? 1 : 0;
    std::size_t decoded = 0;
    DecodeLines(body, [&decoded](const char*, std::size_t count) { decoded += count; });
    Check(decoded <= alphabet * 3 / 4 + 1);
  });
  return 0;
}
