// SPDX-License-Identifier: MIT
#include "DeclaredName.h"

#include <gtest/gtest.h>

namespace {

struct HeaderCase {
  const char* Name;
  std::vector<std::string> Header;  // entries after the delimiter line
  std::string Expected;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.Name; }

class DeclaredName : public testing::TestWithParam<HeaderCase> {};

}  // namespace

TEST_P(DeclaredName, IsReadFromTheHeaderBlock) {
  TStringList lines;
  lines.Add("Preamble: not part of the block");
  lines.Add("------=_P");
  for (const std::string& entry : GetParam().Header) lines.Add(entry);
  lines.Add("");
  lines.Add("Content-Disposition: attachment; filename=body.mid");
  EXPECT_EQ(DeclaredFileName(lines, 1), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DeclaredName,
    testing::ValuesIn(std::vector<HeaderCase>{
        {"None", {"Content-Type: audio/mid"}, ""},
        {"QuotedFilename",
         {"Content-Disposition: attachment; filename=\"my song.mid\""},
         "my song.mid"},
        {"TokenTrimmed",
         {"Content-Disposition: attachment; filename = song.mid ; size=3"},
         "song.mid"},
        {"NameOfContentType", {"Content-Type: audio/mid; name=\"tune.mid\""}, "tune.mid"},
        {"FilenameWinsOverName",
         {"Content-Type: audio/mid; name=a.mid", "Content-Disposition: attachment; filename=b.mid"},
         "b.mid"},
        {"CaseInsensitiveNames", {"CONTENT-DISPOSITION: attachment; FileName=\"c.mid\""}, "c.mid"},
        {"ContinuationLine",
         {"Content-Disposition: attachment;", "\tfilename=\"cont.mid\""},
         "cont.mid"},
        {"OnlyTheFirstFieldCounts",
         {"Content-Disposition: attachment; filename=first.mid",
          "Content-Disposition: attachment; filename=second.mid"},
         "first.mid"},
        {"QuotedEscapes",
         {R"(Content-Disposition: attachment; filename="a\"b\\c\d.mid")"},
         R"(a"b\c\d.mid)"},
        {"SemicolonInQuotes", {"Content-Disposition: attachment; filename=\"a;b.mid\""}, "a;b.mid"},
        {"EmptyFilenameTriesName",
         {"Content-Type: audio/mid; name=n.mid", "Content-Disposition: attachment; filename=\"\""},
         "n.mid"},
        {"Rfc2231", {"Content-Disposition: attachment; filename*=UTF-8''%E6%9B%B2.mid"}, "曲.mid"},
        {"Rfc2231WithLanguage",
         {"Content-Disposition: attachment; filename*=iso-8859-1'en'caf%E9.mid"},
         "café.mid"},
        {"Rfc2231Pieces",
         {"Content-Disposition: attachment;", " filename*0*=UTF-8''%E6%9B%B2;",
          " filename*1=\"-two\"; filename*2*=%2Emid"},
         "曲-two.mid"},
        {"Rfc2231WinsOverPlain",
         {"Content-Disposition: attachment; filename=plain.mid; filename*=UTF-8''ext.mid"},
         "ext.mid"},
        {"Rfc2231UnknownCharsetFallsBack",
         {"Content-Disposition: attachment; filename*=x-none''a.mid; filename=plain.mid"},
         "plain.mid"},
        {"EncodedWordIso2022Jp",
         {"Content-Disposition: attachment; filename=\"=?ISO-2022-JP?B?GyRCNkobKEIubWlk?=\""},
         "曲.mid"},
        {"EncodedWordShiftJisQ",
         {"Content-Type: audio/mid; name==?Shift_JIS?Q?=8B=C8=2E=6D=69=64?="},
         "曲.mid"},
        {"EncodedWordCp932Extension",
         {"Content-Type: audio/mid; name=\"=?shift_jis?B?h0A=?=.mid\""},
         "①.mid"},
        {"EncodedWordEucJp",
         {"Content-Type: audio/mid; name=\"=?EUC-JP?Q?=B6=CA?=.mid\""},
         "曲.mid"},
        {"EncodedWordWithTextAround",
         {"Content-Type: audio/mid; name=\"my =?UTF-8?B?44K9?= song.mid\""},
         "my ソ song.mid"},
        {"BlanksBetweenEncodedWordsDropped",
         {"Content-Type: audio/mid; name=\"=?UTF-8?B?44K9?= \t =?UTF-8?Q?x?=.mid\""},
         "ソx.mid"},
        {"QUnderscoreIsBlank",
         {"Content-Type: audio/mid; name=\"=?us-ascii?q?a_b.mid?=\""},
         "a b.mid"},
        {"UndecodableFallsBackToName",
         {"Content-Type: audio/mid; name=n.mid",
          "Content-Disposition: attachment; filename=\"=?x-unknown?B?QQ==?=\""},
         "n.mid"},
        {"RawUtf8Kept", {"Content-Type: audio/mid; name=\"曲.mid\""}, "曲.mid"},
        {"RawCp932Read", {"Content-Type: audio/mid; name=\"\x8B\xC8.mid\""}, "曲.mid"},
        {"RawCp932TrailBackslash", {"Content-Type: audio/mid; name=\"\x83\\.mid\""}, "ソ.mid"},
        {"NotInTheBlockAfterEmptyLine", {"X-Other: 1"}, ""},
    }),
    [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.Name; });
