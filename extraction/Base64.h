// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The value 0 to 63 of a character of the standard Base64 alphabet (RFC 4648, table 1),
// or -1 for every other byte ("=", line ends, blanks, "-" and 0x80 to 0xFF among them).
int Base64Value(char c) noexcept;

namespace base64_detail {
// Base64Value of every byte, with two marks of the decoder's own: NUL ends the text,
// and "=" stops decoding in the third or fourth position of a group.
inline constexpr std::int8_t kSkip = -1;
inline constexpr std::int8_t kEnd = -2;
inline constexpr std::int8_t kPad = -3;

constexpr std::array<std::int8_t, 256> MakeTable() {
  std::array<std::int8_t, 256> table{};
  table.fill(kSkip);
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i) {
    table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  }
  table[0] = kEnd;
  table['='] = kPad;
  return table;
}
inline constexpr std::array<std::int8_t, 256> kTable = MakeTable();

// The value of a byte put in place for the given position of a group (shift 18, 12, 6
// or 0), or a mark with bit 31 set for any byte outside the alphabet: four lookups ORed
// together give a whole group's 24 bits, or tell that the group is not four plain values.
constexpr std::array<std::uint32_t, 256> MakePlaced(int shift) {
  std::array<std::uint32_t, 256> placed{};
  for (std::size_t i = 0; i < 256; ++i) {
    placed[i] = kTable[i] < 0 ? 0x80000000u : static_cast<std::uint32_t>(kTable[i]) << shift;
  }
  return placed;
}
inline constexpr std::array<std::uint32_t, 256> kPlaced0 = MakePlaced(18);
inline constexpr std::array<std::uint32_t, 256> kPlaced1 = MakePlaced(12);
inline constexpr std::array<std::uint32_t, 256> kPlaced2 = MakePlaced(6);
inline constexpr std::array<std::uint32_t, 256> kPlaced3 = MakePlaced(0);
}  // namespace base64_detail

// Decodes Base64 text in one pass, in groups of four values. Bytes outside the alphabet are
// skipped wherever they stand; an "=" in a group's first or second position is skipped too,
// and one in its third or fourth position writes what the group holds and stops decoding.
// The end of the text (a NUL byte, or End()) writes a partial group: one value gives one
// byte of its six bits and two zero bits, two give one byte, three give two.
// The bytes go to sink(const char* bytes, std::size_t count) as soon as their groups are
// complete: a run of whole groups of four plain alphabet bytes is handed over in one call of
// up to kRunBytes, every other group in a call of its own one to three bytes. Errors raised
// by the sink pass on; the decoder is then unusable.
class TBase64Decoder {
 public:
  // Decodes text; returns false once decoding has stopped, after which nothing is read.
  template <class Sink>
  bool Feed(std::string_view text, Sink&& sink);

  // The end of the text: writes a partial group, if any, and stops.
  template <class Sink>
  void End(Sink&& sink);

  bool Stopped() const noexcept { return FStopped; }

  static constexpr std::size_t kRunBytes = 3 * 256;

 private:
  int FPosition = 1;
  std::uint32_t FAccumulator = 0;
  bool FStopped = false;

  template <class Sink>
  void WriteGroup(std::size_t count, Sink& sink) {
    const char bytes[3] = {static_cast<char>(FAccumulator >> 16),
                           static_cast<char>(FAccumulator >> 8), static_cast<char>(FAccumulator)};
    sink(static_cast<const char*>(bytes), count);
  }
};

template <class Sink>
bool TBase64Decoder::Feed(std::string_view text, Sink&& sink) {
  using namespace base64_detail;
  if (FStopped) return false;
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = at + text.size();
  while (at < end) {
    // Whole groups of four alphabet bytes, the bulk of any body, take the short road.
    if (FPosition == 1) {
      char run[kRunBytes];
      std::size_t used = 0;
      while (end - at >= 4) {
        const std::uint32_t group =
            kPlaced0[at[0]] | kPlaced1[at[1]] | kPlaced2[at[2]] | kPlaced3[at[3]];
        if (group & 0x80000000u) break;
        run[used] = static_cast<char>(group >> 16);
        run[used + 1] = static_cast<char>(group >> 8);
        run[used + 2] = static_cast<char>(group);
        used += 3;
        at += 4;
        if (used == kRunBytes) {
          sink(static_cast<const char*>(run), used);
          used = 0;
        }
      }
      if (used > 0) sink(static_cast<const char*>(run), used);
      if (at == end) break;
    }
    const int value = kTable[*at++];
    if (value >= 0) {
      switch (FPosition) {
        case 1:
          FAccumulator = static_cast<std::uint32_t>(value) << 18;
          FPosition = 2;
          break;
        case 2:
          FAccumulator |= static_cast<std::uint32_t>(value) << 12;
          FPosition = 3;
          break;
        case 3:
          FAccumulator |= static_cast<std::uint32_t>(value) << 6;
          FPosition = 4;
          break;
        default:
          FAccumulator |= static_cast<std::uint32_t>(value);
          WriteGroup(3, sink);
          FPosition = 1;
      }
    } else if (value == kEnd) {
      End(sink);
      return false;
    } else if (value == kPad && FPosition >= 3) {
      WriteGroup(FPosition == 3 ? 1 : 2, sink);
      FStopped = true;
      return false;
    }
  }
  return true;
}

template <class Sink>
void TBase64Decoder::End(Sink&& sink) {
  if (FStopped) return;
  FStopped = true;
  if (FPosition == 2 || FPosition == 3) WriteGroup(1, sink);
  if (FPosition == 4) WriteGroup(2, sink);
}
