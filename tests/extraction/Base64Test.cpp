// SPDX-License-Identifier: MIT
#include "Base64.h"

#include <gtest/gtest.h>

#include <random>

#include "MailExtractor.h"
#include "TestSupport.h"

using tonbrix_test::EncodeBase64;
using tonbrix_test::Wrap;

namespace {

std::string DecodeBody(const std::vector<std::string>& lines) {
  TStringList list;
  for (const std::string& line : lines) list.Add(line);
  std::string out;
  DecodeLines(list, [&out](const char* bytes, std::size_t count) { out.append(bytes, count); });
  return out;
}

// Decodes text fed in pieces of chunk bytes, ending with End() unless decoding stopped.
std::string DecodeInChunks(const std::string& text, std::size_t chunk) {
  TBase64Decoder decoder;
  std::string out;
  auto sink = [&out](const char* bytes, std::size_t count) {
    // Whole groups, or one final group of one or two bytes.
    EXPECT_GE(count, 1u);
    EXPECT_LE(count, TBase64Decoder::kRunBytes);
    EXPECT_TRUE(count <= 3 || count % 3 == 0) << count;
    out.append(bytes, count);
  };
  bool going = true;
  for (std::size_t at = 0; going && at < text.size(); at += chunk) {
    going = decoder.Feed(std::string_view(text).substr(at, chunk), sink);
  }
  if (going) decoder.End(sink);
  return out;
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char piece[4];
  for (unsigned char b : bytes) {
    std::snprintf(piece, sizeof piece, "%02X ", b);
    text += piece;
  }
  return text;
}

}  // namespace

TEST(Base64, ValueOfEveryByte) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int byte = 0; byte < 256; ++byte) {
    std::size_t at = alphabet.find(static_cast<char>(byte));
    int expected = byte != 0 && at != std::string::npos ? static_cast<int>(at) : -1;
    EXPECT_EQ(Base64Value(static_cast<char>(byte)), expected) << "byte " << byte;
  }
}

struct DecodeCase {
  const char* Name;
  std::vector<std::string> Body;
  std::string Expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.Name; }

class Base64Decode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Base64Decode, WritesTheBytesOfTheTable) {
  const DecodeCase& c = GetParam();
  std::string got = DecodeBody(c.Body);
  EXPECT_EQ(got, c.Expected) << "got " << Hex(got) << ", expected " << Hex(c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, Base64Decode,
                         testing::ValuesIn(std::vector<DecodeCase>{
                             {"PadInPosition3Stops", {"QQ=="}, "\x41"},
                             {"PadInPosition4Stops", {"QUI="}, "\x41\x42"},
                             {"OneFullGroup", {"QUJD"}, "\x41\x42\x43"},
                             {"GroupThenPad", {"QUJDRA=="}, "\x41\x42\x43\x44"},
                             {"EndInPosition3", {"QQ"}, "\x41"},
                             {"EndInPosition4", {"QUI"}, "\x41\x42"},
                             {"SingleValueGivesOneByte", {"Q"}, "\x40"},
                             {"PadInPosition2IsSkipped", {"Q="}, "\x40"},
                             {"LeadingPadIsSkipped", {"=QQ=="}, "\x41"},
                             {"PadPosition2SkippedThenPosition3Stops", {"Q=Q="}, "\x41"},
                             {"RestAfterStopIsNeverRead", {"QQ==QUJD"}, "\x41"},
                             {"BlanksAreSkipped", {"Q Q = ="}, "\x41"},
                             {"OnlyPadsWriteNothing", {"===="}, ""},
                             {"GroupRunsAcrossLineEnd", {"QU", "JD"}, "\x41\x42\x43"},
                             {"HighBytesAreSkipped", {"\x82\xA0QQ=="}, "\x41"},
                             {"WorkedExample", {"TVRoZA=="}, "MThd"},
                             {"EmptyBody", {}, ""},
                             {"SecondTextIsNotRead", {"TVRoZA==", "QUJD"}, "MThd"},
                             {"NulEndsTheText", {std::string("QUJD\0QUJD", 9)}, "\x41\x42\x43"},
                         }),
                         [](const testing::TestParamInfo<DecodeCase>& info) {
                           return info.param.Name;
                         });

// The decoder reads the entries back to back; the joined text puts CR LF after each.
// Both must give the same bytes, whatever the entries hold.
TEST(Base64, DecodingTheEntriesEqualsDecodingTheJoinedText) {
  std::mt19937 random(7);
  const std::string bytes = "QUJD=A/+ \x82-";
  for (int round = 0; round < 2000; ++round) {
    TStringList list;
    for (int e = static_cast<int>(random() % 6); e > 0; --e) {
      std::string entry;
      for (int n = static_cast<int>(random() % 9); n > 0; --n)
        entry += bytes[random() % bytes.size()];
      list.Add(entry);
    }
    std::string fromLines;
    DecodeLines(list, [&](const char* b, std::size_t n) { fromLines.append(b, n); });
    ASSERT_EQ(fromLines, DecodeInChunks(list.Text(), 1 + round % 5)) << "joined: " << list.Text();
  }
}

// Random payloads of every length, encoded and wrapped at 76 columns with CR LF as mailers
// do, come back exactly, however the text is cut into pieces.
TEST(Base64, RoundTripsWrappedTextFedInAnyPieces) {
  std::mt19937 random(11);
  for (std::size_t size = 0; size < 200; ++size) {
    std::string payload(size, '\0');
    for (char& c : payload) c = static_cast<char>(random());
    std::string text;
    for (const std::string& line : Wrap(EncodeBase64(payload), 76)) text += line + "\r\n";
    for (std::size_t chunk : {1u, 2u, 3u, 5u, 77u, 4096u}) {
      ASSERT_EQ(DecodeInChunks(text, chunk), payload) << "size " << size << ", chunk " << chunk;
    }
  }
}
