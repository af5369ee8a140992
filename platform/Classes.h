// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "AnsiString.h"

// The class library's list of 8-bit strings, unsorted: entries keep the order they were
// added in, and duplicates and empty entries are all held. The characters of all entries
// live in one buffer, so adding an entry costs no allocation of its own, and a run of
// another list's entries can be taken over without copying them (AssignRange); the shared
// characters are copied only if either list is then changed.
class TStringList {
 public:
  TStringList() : FStorage(std::make_shared<TStorage>()) {}

  std::size_t Count() const noexcept { return FCount; }

  // The entry at index (0 <= index < Count()); valid until the list is next changed.
  std::string_view operator[](std::size_t index) const noexcept {
    const std::size_t at = FFirst + index;
    const std::size_t begin = Begin(at);
    return std::string_view(FStorage->Chars.data() + begin, FStorage->Ends[at] - begin);
  }

  void Add(std::string_view entry) {
    if (!OwnsTail()) Detach();
    FStorage->Chars.append(entry);
    FStorage->Ends.push_back(FStorage->Chars.size());
    ++FCount;
  }

  void Clear() {
    if (FStorage.use_count() > 1) {
      FStorage = std::make_shared<TStorage>();
    } else {
      FStorage->Chars.clear();
      FStorage->Ends.clear();
    }
    FFirst = FCount = 0;
  }

  // Room for entries holding chars bytes in all, so filling the list reallocates less.
  // Large reservations are backed by huge pages where the system offers them.
  void Reserve(std::size_t chars, std::size_t entries);

  // Makes this list hold count entries of source from index first on (all within source).
  void AssignRange(const TStringList& source, std::size_t first, std::size_t count) {
    FStorage = source.FStorage;
    FFirst = source.FFirst + first;
    FCount = count;
  }

  // All entries back to back, without line ends; valid until the list is next changed.
  std::string_view Chars() const noexcept {
    if (FCount == 0) return {};
    const std::size_t begin = Begin(FFirst);
    return std::string_view(FStorage->Chars.data() + begin,
                            FStorage->Ends[FFirst + FCount - 1] - begin);
  }

  // Every entry followed by CR LF, the last one included; empty for an empty list.
  AnsiString Text() const;

 private:
  struct TStorage {
    AnsiString Chars;
    std::vector<std::size_t> Ends;  // end of each entry in Chars
  };

  std::size_t Begin(std::size_t at) const noexcept { return at == 0 ? 0 : FStorage->Ends[at - 1]; }

  // True when this list alone holds its storage, up to its end.
  bool OwnsTail() const noexcept {
    return FStorage.use_count() == 1 && FFirst + FCount == FStorage->Ends.size();
  }

  void Detach();

  std::shared_ptr<TStorage> FStorage;
  std::size_t FFirst = 0;
  std::size_t FCount = 0;
};
