// SPDX-License-Identifier: MIT
#include "Base64.h"

int Base64Value(char c) noexcept {
  const int value = base64_detail::kTable[static_cast<unsigned char>(c)];
  return value >= 0 ? value : -1;
}
