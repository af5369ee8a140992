// SPDX-License-Identifier: MIT
#include "MailReader.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using tonbrix_test::Entries;

namespace {

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

std::vector<std::string> ReadInChunks(const std::string& bytes, std::size_t chunk) {
  TStringList lines;
  TMailLineReader reader(lines);
  for (std::size_t at = 0; at < bytes.size(); at += chunk) {
    if (!reader.Feed(std::string_view(bytes).substr(at, chunk))) break;
  }
  reader.Finish();
  return Entries(lines);
}

struct ReadCase {
  const char* Name;
  std::string Bytes;
  std::vector<std::string> Expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.Name; }

class MailReading : public testing::TestWithParam<ReadCase> {};

}  // namespace

// Every fixture is also fed in pieces of every size up to its length: where a block of
// the file ends must never change the entries.
TEST_P(MailReading, GivesTheEntriesWhereverBlocksEnd) {
  const ReadCase& c = GetParam();
  for (std::size_t chunk = 1; chunk <= std::max<std::size_t>(c.Bytes.size(), 1); ++chunk) {
    ASSERT_EQ(ReadInChunks(c.Bytes, chunk), c.Expected) << "fed in pieces of " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MailReading,
    testing::ValuesIn(std::vector<ReadCase>{
        {"EmptyFile", "", {}},
        {"CrLfLines", "a\r\nb\r\n", {"a", "b"}},
        {"CrAloneIsDroppedNotALineEnd", "ab\rcd\n", {"abcd"}},
        {"CrOnlyLineEndsReadAsOneLine",
         Repeat('x', 100) + "\r" + Repeat('y', 100) + "\r",
         {Repeat('x', 100) + Repeat('y', 27), Repeat('y', 73)}},
        {"LastLineWithoutLf", "a\nb", {"a", "b"}},
        {"CtrlZEndsTheInput", "a\nb\x1A\nc\n", {"a", "b"}},
        {"CtrlZInsideALine",
         "ab\x1A"
         "cd\n",
         {"ab"}},
        {"NulCutsTheEntry", std::string("ab\0cd\nef\n", 9), {"ab", "ef"}},
        {"NulLosesOnlyTheRestOfItsPiece",
         std::string("a\0", 2) + Repeat('x', 125) + "yz\n",
         {"a", "yz"}},
        {"TrailingBlanksAndControlsStripped", "ab \t\x01\n", {"ab"}},
        {"LeadingBlanksKept", "  ab\n", {"  ab"}},
        {"BlankOnlyLineIsEmpty", " \t \n", {""}},
        {"EmptyLinesKept", "a\n\n\nb\n", {"a", "", "", "b"}},
        {"Line126", Repeat('a', 126) + "\n", {Repeat('a', 126)}},
        {"Line127EndsWithoutAnExtraEntry", Repeat('a', 127) + "\n", {Repeat('a', 127)}},
        {"Line127CrLf", Repeat('a', 127) + "\r\n", {Repeat('a', 127)}},
        {"Line127ThenEmptyLine", Repeat('a', 127) + "\n\n", {Repeat('a', 127), ""}},
        {"Line127AtEndOfFile", Repeat('a', 127), {Repeat('a', 127)}},
        {"Line128", Repeat('a', 128) + "\n", {Repeat('a', 127), "a"}},
        {"Line253", Repeat('a', 253) + "\n", {Repeat('a', 127), Repeat('a', 126)}},
        {"Line254EndsWithoutAnExtraEntry",
         Repeat('a', 254) + "\n",
         {Repeat('a', 127), Repeat('a', 127)}},
        {"Line255", Repeat('a', 255) + "\n", {Repeat('a', 127), Repeat('a', 127), "a"}},
        {"BlankAtPieceEndIsStripped", Repeat('a', 126) + " b\n", {Repeat('a', 126), "b"}},
        {"BlankLineOf127", Repeat(' ', 127) + "\n", {""}},
    }),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.Name; });

TEST(MailReading, ReadsAFileLargerThanOneBlock) {
  tonbrix_test::TTempDir dir;
  std::string bytes;
  for (int i = 0; i < 60000; ++i)
    bytes += "line " + std::to_string(i) + Repeat('=', i % 200) + "\r\n";
  tonbrix_test::WriteFile(dir / "big.eml", bytes);
  TFileStream mail(dir / "big.eml", fmOpenRead | fmShareDenyNone);
  TStringList lines;
  lines.Add("left over from an earlier scan");
  ReadMailLines(mail, lines);
  EXPECT_EQ(Entries(lines), ReadInChunks(bytes, bytes.size()));
  EXPECT_GT(lines.Count(), 60000u);
}
