// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

#include "Classes.h"

inline constexpr std::string_view kDelimiterPrefix = "------";
inline constexpr std::string_view kMidiContentType = "Content-Type: audio/mid";

// True when the first bytes of entry equal prefix exactly, case significant.
inline bool BeginsWith(std::string_view entry, std::string_view prefix) noexcept {
  return entry.substr(0, prefix.size()) == prefix;
}

inline bool IsDelimiterLine(std::string_view entry) noexcept {
  return BeginsWith(entry, kDelimiterPrefix);
}

inline bool IsMidiContentType(std::string_view entry) noexcept {
  return BeginsWith(entry, kMidiContentType);
}

// One MIDI part found by the scan: the index of its delimiter line and of its body's first
// line. BodyStart may be Count() or more when the header block runs to the end of the mail.
struct TMidiPart {
  std::size_t HeaderStart;
  std::size_t BodyStart;
};

// Walks lines by the scan rules and calls onPart(const TMidiPart&) for every MIDI part, in
// file order. A part opens at a delimiter line that is the first entry, follows an empty
// entry, or directly follows a MIDI part's first body line; it is a MIDI part when its
// header block (up to the first empty entry) holds a MIDI content-type line. The message's
// own header block is never searched. An error raised by onPart ends the walk.
template <class OnPart>
void FindMidiParts(const TStringList& lines, OnPart&& onPart) {
  const std::size_t count = lines.Count();
  auto nextEmpty = [&](std::size_t from) {
    while (from < count && !lines[from].empty()) ++from;
    return from;
  };
  std::size_t i = 0;
  while (i < count) {
    if (!IsDelimiterLine(lines[i])) {
      i = nextEmpty(i) + 1;
      continue;
    }
    std::size_t k = i;
    while (k < count && !lines[k].empty() && !IsMidiContentType(lines[k])) ++k;
    if (k == count) return;
    if (lines[k].empty()) {
      i = k + 1;
      continue;
    }
    const std::size_t bodyStart = nextEmpty(k + 1) + 1;
    onPart(TMidiPart{i, bodyStart});
    i = bodyStart + 1;
  }
}

// Empties body and appends the entries of mail from bodyStart on, stopping before the first
// empty entry, before a delimiter line (which can hold no Base64 text, so a body written
// straight up to the next part does not take in that part's lines), or at the end.
void GatherBody(const TStringList& mail, std::size_t bodyStart, TStringList& body);
