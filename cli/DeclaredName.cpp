// SPDX-License-Identifier: MIT
#include "DeclaredName.h"

#include <iconv.h>

#include <algorithm>
#include <map>
#include <vector>

#include "Base64.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Checked here rather than with iconv: most names are plain ASCII, and opening a
// converter costs more than the whole rest of a small mail's extraction.
bool IsValidUtf8(std::string_view text) {
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = at + text.size();
  while (at < end) {
    const unsigned char lead = *at;
    std::size_t length;
    if (lead < 0x80) {
      ++at;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - at) < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
      if ((at[i] & 0xC0) != 0x80) return false;
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && at[1] < 0xA0) || (lead == 0xED && at[1] > 0x9F) ||
        (lead == 0xF0 && at[1] < 0x90) || (lead == 0xF4 && at[1] > 0x8F)) {
      return false;
    }
    at += length;
  }
  return true;
}

// Raw header bytes: kept when they are UTF-8 already, else read as the Japanese Windows
// code page, which is what mailers that send raw 8-bit names mostly write.
std::optional<AnsiString> RawToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return AnsiString(bytes);
  return ToUtf8(bytes, "CP932");
}

struct Parameter {
  AnsiString Name;  // as written, such as filename*0*
  AnsiString Value;
  bool Quoted = false;
};

// Splits `type; a=1; b="x; y"` into its parameters; the leading type is passed over.
std::vector<Parameter> SplitParameters(std::string_view value) {
  std::vector<Parameter> parameters;
  std::size_t at = value.find(';');
  while (at != std::string_view::npos && at < value.size()) {
    ++at;  // past ';'
    std::size_t nameEnd = value.find_first_of("=;", at);
    Parameter parameter;
    parameter.Name = AnsiString(Trim(value.substr(at, nameEnd - at)));
    if (nameEnd == std::string_view::npos || value[nameEnd] == ';') {
      at = nameEnd;
      continue;
    }
    at = nameEnd + 1;
    while (at < value.size() && IsBlank(value[at])) ++at;
    if (at < value.size() && value[at] == '"') {
      parameter.Quoted = true;
      for (++at; at < value.size() && value[at] != '"'; ++at) {
        if (value[at] == '\\' && at + 1 < value.size() &&
            (value[at + 1] == '\\' || value[at + 1] == '"')) {
          ++at;
        }
        parameter.Value.push_back(value[at]);
      }
      at = value.find(';', at);
    } else {
      std::size_t end = value.find(';', at);
      parameter.Value = AnsiString(Trim(value.substr(at, end - at)));
      at = end;
    }
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

AnsiString PercentDecode(std::string_view text) {
  AnsiString bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int high, low;
    if (text[i] == '%' && i + 2 < text.size() && (high = HexValue(text[i + 1])) >= 0 &&
        (low = HexValue(text[i + 2])) >= 0) {
      bytes.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

// charset'language'percent-encoded text, as the first (or only) extended value holds it.
std::optional<AnsiString> DecodeExtended(std::string_view value, std::string_view rest) {
  std::size_t first = value.find('\'');
  std::size_t second = first == std::string_view::npos ? first : value.find('\'', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  std::string_view charset = value.substr(0, first);
  AnsiString bytes = PercentDecode(value.substr(second + 1));
  bytes.append(rest);
  if (charset.empty()) return RawToUtf8(bytes);
  return ToUtf8(bytes, charset);
}

std::optional<AnsiString> NonEmpty(std::optional<AnsiString> value) {
  if (value && value->empty()) return std::nullopt;
  return value;
}

// The RFC 2231 value of name among parameters: name* alone, else the pieces name*0,
// name*1, ... in order (those written name*N* percent-encoded), up to the first gap.
std::optional<AnsiString> Rfc2231Value(const std::vector<Parameter>& parameters,
                                       std::string_view name) {
  std::map<unsigned, const Parameter*> pieces;
  for (const Parameter& parameter : parameters) {
    std::string_view written = parameter.Name;
    if (written.size() <= name.size() || !EqualsNoCase(written.substr(0, name.size()), name) ||
        written[name.size()] != '*') {
      continue;
    }
    std::string_view suffix = written.substr(name.size() + 1);
    if (suffix.empty()) return NonEmpty(DecodeExtended(parameter.Value, {}));
    if (suffix.back() == '*') suffix.remove_suffix(1);
    if (suffix.empty() || suffix.size() > 4 ||
        !std::all_of(suffix.begin(), suffix.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    pieces.emplace(static_cast<unsigned>(std::stoul(AnsiString(suffix))), &parameter);
  }
  if (pieces.empty() || pieces.begin()->first != 0) return std::nullopt;
  auto isExtended = [](const Parameter& p) { return !p.Name.empty() && p.Name.back() == '*'; };
  const Parameter& head = *pieces.begin()->second;
  AnsiString rest;
  unsigned expected = 1;
  for (auto it = std::next(pieces.begin()); it != pieces.end() && it->first == expected;
       ++it, ++expected) {
    rest += isExtended(*it->second) ? PercentDecode(it->second->Value) : it->second->Value;
  }
  if (isExtended(head)) return NonEmpty(DecodeExtended(head.Value, rest));
  return NonEmpty(RawToUtf8(head.Value + rest));
}

// The header block's fields, unfolded: name and value of each, first occurrence only.
std::map<AnsiString, AnsiString> HeaderFields(const TStringList& lines, std::size_t start) {
  std::vector<std::pair<AnsiString, AnsiString>> fields;
  for (std::size_t i = start; i < lines.Count() && !lines[i].empty(); ++i) {
    std::string_view entry = lines[i];
    if (IsBlank(entry.front())) {
      if (!fields.empty()) fields.back().second.append(entry);
      continue;
    }
    std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos) {
      fields.emplace_back(AnsiString(), AnsiString());
      continue;
    }
    AnsiString name(Trim(entry.substr(0, colon)));
    std::transform(name.begin(), name.end(), name.begin(), Lower);
    fields.emplace_back(std::move(name), AnsiString(entry.substr(colon + 1)));
  }
  std::map<AnsiString, AnsiString> firsts;
  for (auto& [name, value] : fields) firsts.emplace(std::move(name), std::move(value));
  return firsts;
}

// One encoded word at the start of text: =?charset?B|Q?encoded?= ; its length, or 0.
std::size_t EncodedWordLength(std::string_view text, std::optional<AnsiString>& decoded) {
  if (text.substr(0, 2) != "=?") return 0;
  std::size_t charsetEnd = text.find('?', 2);
  if (charsetEnd == std::string_view::npos || charsetEnd + 2 >= text.size() ||
      text[charsetEnd + 2] != '?') {
    return 0;
  }
  char encoding = Lower(text[charsetEnd + 1]);
  std::size_t textStart = charsetEnd + 3;
  std::size_t end = text.find("?=", textStart);
  if ((encoding != 'b' && encoding != 'q') || end == std::string_view::npos) return 0;
  std::string_view charset = text.substr(2, charsetEnd - 2);
  charset = charset.substr(0, charset.find('*'));  // RFC 2231 language suffix
  std::string_view encoded = text.substr(textStart, end - textStart);
  if (charset.empty() || std::any_of(encoded.begin(), encoded.end(), IsBlank)) return 0;
  AnsiString bytes;
  if (encoding == 'b') {
    TBase64Decoder decoder;
    auto sink = [&bytes](const char* data, std::size_t count) { bytes.append(data, count); };
    if (decoder.Feed(encoded, sink)) decoder.End(sink);
  } else {
    for (std::size_t i = 0; i < encoded.size(); ++i) {
      int high, low;
      if (encoded[i] == '_') {
        bytes.push_back(' ');
      } else if (encoded[i] == '=' && i + 2 < encoded.size() &&
                 (high = HexValue(encoded[i + 1])) >= 0 && (low = HexValue(encoded[i + 2])) >= 0) {
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
      } else {
        bytes.push_back(encoded[i]);
      }
    }
  }
  decoded = ToUtf8(bytes, charset);
  return end + 2;
}

// MIME charset names to the names iconv knows, where they differ in what they accept.
AnsiString IconvCharset(std::string_view charset) {
  AnsiString lower(charset);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  // Mail written as Shift_JIS is nearly always the Windows variant, with its extra symbols.
  if (lower == "shift_jis" || lower == "shift-jis" || lower == "sjis" || lower == "x-sjis" ||
      lower == "windows-31j" || lower == "cp932" || lower == "ms932") {
    return "CP932";
  }
  return AnsiString(charset);
}

}  // namespace

std::optional<AnsiString> ToUtf8(std::string_view bytes, std::string_view charset) {
  iconv_t converter = iconv_open("UTF-8", IconvCharset(charset).c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  AnsiString input(bytes);
  AnsiString output(bytes.size() * 4 + 16, '\0');
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  bool ok = result != static_cast<std::size_t>(-1) &&
            iconv(converter, nullptr, nullptr, &out, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  if (!ok) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

std::optional<AnsiString> DecodeHeaderText(std::string_view text) {
  AnsiString result;
  AnsiString raw;  // raw bytes waiting since the last encoded word
  bool afterWord = false;
  auto flushRaw = [&](bool beforeWord) -> bool {
    if (beforeWord && afterWord && Trim(raw).empty()) {
      raw.clear();
      return true;
    }
    std::optional<AnsiString> converted = RawToUtf8(raw);
    if (!converted) return false;
    result += *converted;
    raw.clear();
    return true;
  };
  while (!text.empty()) {
    std::optional<AnsiString> decoded;
    if (std::size_t length = EncodedWordLength(text, decoded)) {
      if (!decoded || !flushRaw(true)) return std::nullopt;
      result += *decoded;
      afterWord = true;
      text.remove_prefix(length);
      continue;
    }
    raw.push_back(text.front());
    text.remove_prefix(1);
  }
  if (!flushRaw(false)) return std::nullopt;
  return result;
}

std::optional<AnsiString> ParameterValue(std::string_view fieldValue, std::string_view name) {
  std::vector<Parameter> parameters = SplitParameters(fieldValue);
  if (std::optional<AnsiString> extended = Rfc2231Value(parameters, name)) return extended;
  for (const Parameter& parameter : parameters) {
    if (EqualsNoCase(parameter.Name, name)) {
      return NonEmpty(DecodeHeaderText(parameter.Value));
    }
  }
  return std::nullopt;
}

AnsiString DeclaredFileName(const TStringList& lines, std::size_t headerStart) {
  std::map<AnsiString, AnsiString> fields = HeaderFields(lines, headerStart);
  auto lookup = [&](const char* field, const char* parameter) -> std::optional<AnsiString> {
    auto it = fields.find(field);
    if (it == fields.end()) return std::nullopt;
    return ParameterValue(it->second, parameter);
  };
  if (auto name = lookup("content-disposition", "filename")) return *name;
  if (auto name = lookup("content-type", "name")) return *name;
  return AnsiString();
}
