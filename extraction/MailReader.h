// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

#include "Classes.h"
#include "FileStream.h"

// Longest piece of a line that one entry takes.
inline constexpr std::size_t kPieceLength = 127;

// Splits a mail's bytes into entries by the text-mode reading rules: every CR is dropped,
// LF ends a line, 0x1A ends the input; a line is taken in pieces of at most kPieceLength
// bytes, each cut at its first NUL and stripped of trailing bytes 0 to 32, and each piece
// is one entry. An LF right after a full piece completes that piece's line and gives no
// entry of its own (it would be an empty entry that ends a body or header block early).
// Bytes may be fed in blocks of any size; the entries do not depend on where blocks end.
class TMailLineReader {
 public:
  explicit TMailLineReader(TStringList& lines) : FLines(lines) {}

  // Appends the entries completed by bytes. Returns false once the input has ended at a
  // 0x1A byte; everything fed after that is ignored.
  bool Feed(std::string_view bytes);

  // Ends the input: a last line without an LF still becomes an entry.
  void Finish();

 private:
  void EmitPiece();
  // Appends one piece (its LF, if any, left out), cut at a NUL and stripped.
  void AddPiece(const char* piece, std::size_t length);

  TStringList& FLines;
  char FPiece[kPieceLength];
  std::size_t FLength = 0;
  bool FAfterFullPiece = false;
  bool FEnded = false;
};

// Empties lines and fills them with the entries of the whole of mail, read in large blocks.
// A read error ends the input like the end of the file.
void ReadMailLines(TFileStream& mail, TStringList& lines);
