// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "AnsiString.h"
#include "Classes.h"

// The file name that a MIDI part declares in its header block (the entries from its
// delimiter line at headerStart up to the first empty entry), decoded to UTF-8: the
// "filename" parameter of Content-Disposition, else the "name" parameter of Content-Type.
// An entry that begins with a blank or tab continues the field before it; only the first
// field of each name counts. Empty when the part declares no usable name. The result is
// not yet safe to use as a file name (see SafeFileName).
AnsiString DeclaredFileName(const TStringList& lines, std::size_t headerStart);

// The value of the parameter named name in a header field's value (what follows the colon,
// such as `attachment; filename="song.mid"`), decoded to UTF-8: RFC 2231 forms (name*=, and
// numbered pieces name*0*=, name*1=, ...) win over the plain one; a plain value is a quoted
// string or a token and may hold RFC 2047 encoded words. nullopt when the parameter is
// absent, empty or cannot be decoded.
std::optional<AnsiString> ParameterValue(std::string_view fieldValue, std::string_view name);

// Decodes RFC 2047 encoded words (B and Q) in text to UTF-8, keeping the text around them
// and dropping blanks between two encoded words. Raw bytes outside encoded words are kept
// when they are valid UTF-8, else read as CP932. nullopt when something cannot be decoded.
std::optional<AnsiString> DecodeHeaderText(std::string_view text);

// Converts bytes in charset (a MIME charset name) to UTF-8; nullopt when the charset is
// unknown or the bytes are not valid in it.
std::optional<AnsiString> ToUtf8(std::string_view bytes, std::string_view charset);
