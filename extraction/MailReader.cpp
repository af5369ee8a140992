// SPDX-License-Identifier: MIT
#include "MailReader.h"

#include <sys/stat.h>

#include <cstring>
#include <memory>

bool TMailLineReader::Feed(std::string_view bytes) {
  if (FEnded) return false;
  for (char c : bytes) {
    switch (c) {
      case '\r':
        continue;
      case '\x1A':
        FEnded = true;
        return false;
      case '\n':
        if (FAfterFullPiece) {
          FAfterFullPiece = false;
          continue;
        }
        FPiece[FLength++] = c;
        EmitPiece();
        continue;
      default:
        FAfterFullPiece = false;
        FPiece[FLength++] = c;
        if (FLength == kPieceLength) {
          EmitPiece();
          FAfterFullPiece = true;
        }
    }
  }
  return true;
}

void TMailLineReader::Finish() {
  if (FLength > 0) EmitPiece();
  FEnded = true;
}

void TMailLineReader::EmitPiece() {
  std::size_t length = FLength;
  if (const void* nul = std::memchr(FPiece, '\0', length)) {
    length = static_cast<std::size_t>(static_cast<const char*>(nul) - FPiece);
  }
  while (length > 0 && static_cast<unsigned char>(FPiece[length - 1]) <= 32) --length;
  FLines.Add(std::string_view(FPiece, length));
  FLength = 0;
}

void ReadMailLines(TFileStream& mail, TStringList& lines) {
  constexpr std::size_t kBlockSize = 1 << 20;
  lines.Clear();
  struct stat info {};
  if (::fstat(mail.Handle(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    // Entries are never longer than the bytes they came from; lines of a mail run to
    // about 76 characters, which makes a fair first guess at their number.
    auto size = static_cast<std::size_t>(info.st_size);
    lines.Reserve(size, size / 64);
  }
  auto block = std::make_unique<char[]>(kBlockSize);
  TMailLineReader reader(lines);
  for (;;) {
    std::size_t got = mail.Read(block.get(), kBlockSize);
    if (got == 0 || !reader.Feed(std::string_view(block.get(), got))) break;
  }
  reader.Finish();
}
