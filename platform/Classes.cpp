// SPDX-License-Identifier: MIT
#include "Classes.h"

AnsiString TStringList::Text() const {
  AnsiString text;
  text.reserve(FChars.size() + 2 * Count());
  for (std::size_t i = 0; i < Count(); ++i) {
    text.append((*this)[i]);
    text.append("\r\n");
  }
  return text;
}
