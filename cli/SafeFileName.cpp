// SPDX-License-Identifier: MIT
#include "SafeFileName.h"

#include <cstdint>

namespace {

// Length of the valid UTF-8 sequence that starts text, or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return 0;
  }
  return length;
}

bool IsDropped(char32_t c) {
  return c < 0x20 || c == 0x7F || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

bool IsTrimmed(char c) { return c == ' ' || c == '.'; }

// Shortens base, at a character boundary of the valid UTF-8 it holds, until base + tail fits.
AnsiString Fit(std::string_view base, std::string_view tail) {
  if (tail.size() >= kMaxFileNameBytes) {
    // An extension that long is no extension: cut the whole name instead.
    AnsiString whole(base);
    whole.append(tail);
    return Fit(whole, {});
  }
  std::size_t room = kMaxFileNameBytes - tail.size();
  if (base.size() > room) {
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
    base = base.substr(0, cut);
  }
  AnsiString result(base);
  result.append(tail);
  return result;
}

std::size_t ExtensionStart(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name.size() : dot;
}

}  // namespace

AnsiString SafeFileName(std::string_view name) {
  if (std::size_t slash = name.find_last_of("/\\"); slash != std::string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  AnsiString kept;
  kept.reserve(name.size());
  while (!name.empty()) {
    char32_t codePoint = 0;
    std::size_t length = Utf8SequenceLength(name, codePoint);
    if (length == 0) {
      name.remove_prefix(1);
      continue;
    }
    if (!IsDropped(codePoint)) kept.append(name.substr(0, length));
    name.remove_prefix(length);
  }
  std::string_view trimmed = kept;
  while (!trimmed.empty() && IsTrimmed(trimmed.front())) trimmed.remove_prefix(1);
  while (!trimmed.empty() && IsTrimmed(trimmed.back())) trimmed.remove_suffix(1);
  if (trimmed.size() <= kMaxFileNameBytes) return AnsiString(trimmed);
  std::size_t ext = ExtensionStart(trimmed);
  return SafeFileName(Fit(trimmed.substr(0, ext), trimmed.substr(ext)));
}

AnsiString NumberedFileName(std::string_view name, unsigned number) {
  std::size_t ext = ExtensionStart(name);
  AnsiString tail = "-" + std::to_string(number);
  tail.append(name.substr(ext));
  return Fit(name.substr(0, ext), tail);
}
