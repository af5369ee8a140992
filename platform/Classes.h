// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "AnsiString.h"

// The class library's list of 8-bit strings, unsorted: entries keep the order they were
// added in, and duplicates and empty entries are all held. The characters of all entries
// live in one buffer, so adding an entry costs no allocation of its own.
class TStringList {
 public:
  std::size_t Count() const noexcept { return FEnds.size(); }

  // The entry at index (0 <= index < Count()); valid until the list is next changed.
  std::string_view operator[](std::size_t index) const noexcept {
    std::size_t begin = index == 0 ? 0 : FEnds[index - 1];
    return std::string_view(FChars.data() + begin, FEnds[index] - begin);
  }

  void Add(std::string_view entry) {
    FChars.append(entry);
    FEnds.push_back(FChars.size());
  }

  void Clear() noexcept {
    FChars.clear();
    FEnds.clear();
  }

  // Room for entries holding chars bytes in all, so filling the list reallocates less.
  void Reserve(std::size_t chars, std::size_t entries) {
    FChars.reserve(chars);
    FEnds.reserve(entries);
  }

  // All entries back to back, without line ends; valid until the list is next changed.
  std::string_view Chars() const noexcept { return FChars; }

  // Every entry followed by CR LF, the last one included; empty for an empty list.
  AnsiString Text() const;

 private:
  AnsiString FChars;
  std::vector<std::size_t> FEnds;
};
