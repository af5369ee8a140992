// SPDX-License-Identifier: MIT
#include "MailReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

// Bytes that the reading rules treat apart from the rest: CR, LF and Ctrl-Z.
constexpr std::array<bool, 256> MakeSpecial() {
  std::array<bool, 256> special{};
  special['\r'] = special['\n'] = special['\x1A'] = true;
  return special;
}
constexpr std::array<bool, 256> kSpecial = MakeSpecial();

}  // namespace

bool TMailLineReader::Feed(std::string_view bytes) {
  if (FEnded) return false;
  const char* at = bytes.data();
  const char* const end = at + bytes.size();
  while (at < end) {
    // The common case, a piece that starts here and lies whole in the block with no CR
    // in it, is taken straight from the block without copying it first.
    if (FLength == 0 && !FAfterFullPiece) {
      const std::size_t room = std::min<std::size_t>(kPieceLength, end - at);
      std::size_t k = 0;
      while (k < room && !kSpecial[static_cast<unsigned char>(at[k])]) ++k;
      if (k < room && at[k] == '\n') {
        AddPiece(at, k);
        at += k + 1;
        continue;
      }
      if (k < room && at[k] == '\r' && at + k + 1 < end && at[k + 1] == '\n') {
        AddPiece(at, k);
        at += k + 2;
        continue;
      }
      if (k == kPieceLength) {
        AddPiece(at, k);
        at += k;
        FAfterFullPiece = true;
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
  auto block = std::make_unique<char[]>(kBlockSize);
  TMailLineReader reader(lines);
  for (;;) {
    std::size_t got = mail.Read(block.get(), kBlockSize);
    if (got == 0 || !reader.Feed(std::string_view(block.get(), got))) break;
  }
  reader.Finish();
}
