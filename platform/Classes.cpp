// SPDX-License-Identifier: MIT
#include "Classes.h"

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
