// SPDX-License-Identifier: MIT
#include "SysUtils.h"

namespace {
constexpr std::string_view kOpenError = "ファイル %s を開けません";
constexpr std::string_view kCreateError = "ファイル %s を作成できません";
constexpr std::string_view kWriteError = "ストリームへの書き込みエラー";
}  // namespace

AnsiString FormatMessage(std::string_view format, std::string_view argument) {
  AnsiString result(format);
  if (auto at = result.find("%s"); at != AnsiString::npos) result.replace(at, 2, argument);
  return result;
}

EFOpenError::EFOpenError(std::string_view fileName, int osError)
    : EStreamError(FormatMessage(kOpenError, fileName), osError) {}

EFCreateError::EFCreateError(std::string_view fileName, int osError)
    : EStreamError(FormatMessage(kCreateError, fileName), osError) {}

EWriteError::EWriteError(int osError) : EStreamError(AnsiString(kWriteError), osError) {}

AnsiString ErrorBoxText(std::string_view message) {
  AnsiString text(message);
  if (text.empty()) return text;
  // The last character's first byte: step back over UTF-8 continuation bytes.
  std::size_t last = text.size() - 1;
  while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
  if (static_cast<unsigned char>(text[last]) > 0x2E) text += '.';
  return text;
}
