// SPDX-License-Identifier: MIT
#include "Classes.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

// Asks for huge pages behind a large buffer: filling a whole mail's worth of memory then
// takes a few hundred page faults instead of tens of thousands. Only advice; it may be
// ignored, and the buffer works either way.
void AdviseHugePages(const void* data, std::size_t bytes) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (bytes < 4 * kHugePage) return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

AnsiString TStringList::Text() const {
  const std::string_view chars = Chars();
  AnsiString text;
  text.reserve(chars.size() + 2 * Count());
  for (std::size_t i = 0; i < Count(); ++i) {
    text.append((*this)[i]);
    text.append("\r\n");
  }
  return text;
}

void TStringList::Detach() {
  auto own = std::make_shared<TStorage>();
  own->Chars.assign(Chars());
  own->Ends.reserve(FCount);
  const std::size_t base = FCount == 0 ? 0 : Begin(FFirst);
  for (std::size_t i = 0; i < FCount; ++i) own->Ends.push_back(FStorage->Ends[FFirst + i] - base);
  FStorage = std::move(own);
  FFirst = 0;
}

void TStringList::Reserve(std::size_t chars, std::size_t entries) {
  if (!OwnsTail()) Detach();
  FStorage->Chars.reserve(chars);
  FStorage->Ends.reserve(entries);
  AdviseHugePages(FStorage->Chars.data(), FStorage->Chars.capacity());
  AdviseHugePages(FStorage->Ends.data(), FStorage->Ends.capacity() * sizeof(std::size_t));
}
