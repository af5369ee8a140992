// SPDX-License-Identifier: MIT
#include "MailReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>

bool TMailLineReader::Feed(std::string_view bytes) {
  if (FEnded) return false;
  const char* at = bytes.data();
  const char* const end = at + bytes.size();
  while (at < end) {
    // The common case, a line that starts here and lies whole in the block, with no CR
    // but the one before its LF, is taken straight from the block without copying it.
    if (FLength == 0 && !FAfterFullPiece) {
      const std::size_t rest = static_cast<std::size_t>(end - at);
      // A full piece, then its CR and LF, at the most.
      const std::size_t window = std::min<std::size_t>(kPieceLength + 2, rest);
      const auto* lf = static_cast<const char*>(std::memchr(at, '\n', window));
      std::size_t length = lf != nullptr ? static_cast<std::size_t>(lf - at) : kPieceLength;
      if (lf != nullptr && length > 0 && at[length - 1] == '\r') --length;
      if (length <= kPieceLength && (lf != nullptr || rest >= kPieceLength) &&
          std::memchr(at, '\r', length) == nullptr && std::memchr(at, '\x1A', length) == nullptr) {
        AddPiece(at, length);
        if (lf != nullptr) {
          // Ended by its LF, which also completes a full piece (it gives no entry).
          at = lf + 1;
        } else {
          at += kPieceLength;
          FAfterFullPiece = true;
        }
        continue;
      }
    }
    const char c = *at++;
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
  AddPiece(FPiece, FLength);
  FLength = 0;
}

void TMailLineReader::AddPiece(const char* piece, std::size_t length) {
  if (const void* nul = std::memchr(piece, '\0', length)) {
    length = static_cast<std::size_t>(static_cast<const char*>(nul) - piece);
  }
  while (length > 0 && static_cast<unsigned char>(piece[length - 1]) <= 32) --length;
  FLines.Add(std::string_view(piece, length));
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
  auto block = std::make_unique_for_overwrite<char[]>(kBlockSize);
  TMailLineReader reader(lines);
  for (;;) {
    std::size_t got = mail.Read(block.get(), kBlockSize);
    if (got == 0 || !reader.Feed(std::string_view(block.get(), got))) break;
  }
  reader.Finish();
}
