// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

#include "AnsiString.h"

// Longest file name, in bytes, that the systems we write to take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Makes a name that a mail declared (hostile input) safe to create inside one folder: only
// what follows its last "/" or "\" is kept; control bytes (0x00 to 0x1F, 0x7F), Unicode
// bidirectional controls (which let "song\u202Edim.exe" pose as "songexe.mid") and bytes
// that are not valid UTF-8 are dropped; blanks and dots are trimmed at both ends; a name of
// more than kMaxFileNameBytes is shortened before its extension at a character boundary.
// The result is valid UTF-8, holds no "/" or "\", and is never "." or ".."; it is empty
// when nothing usable is left.
AnsiString SafeFileName(std::string_view name);

// name with "-number" put before its extension (from its last "."), shortened before the
// extension when needed so that it still fits kMaxFileNameBytes: song.mid, 2 -> song-2.mid.
AnsiString NumberedFileName(std::string_view name, unsigned number);
