// SPDX-License-Identifier: MIT
#include "SafeFileName.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  const char* Name;
  std::string Input;
  std::string Expected;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.Name; }

class SafeName : public testing::TestWithParam<NameCase> {};

std::string Many(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

}  // namespace

TEST_P(SafeName, MakesTheNameSafe) {
  EXPECT_EQ(SafeFileName(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Attacks, SafeName,
    testing::ValuesIn(std::vector<NameCase>{
        {"PlainName", "song.mid", "song.mid"},
        {"ParentFolders", "../../x.mid", "x.mid"},
        {"AbsolutePath", "/etc/passwd", "passwd"},
        {"WindowsPath", "C:\\Users\\me\\song.mid", "song.mid"},
        {"MixedSeparators", "a/b\\..\\c.mid", "c.mid"},
        {"OnlyDots", "..", ""},
        {"SingleDot", ".", ""},
        {"DotsAndBlanks", " . .. ", ""},
        {"HiddenFileDotTrimmed", ".bashrc", "bashrc"},
        {"TrailingDotsAndBlanks", "song.mid. . ", "song.mid"},
        {"ControlBytesDropped", "so\x01ng\n\t.m\x7Fid", "song.mid"},
        {"NulDropped", std::string("so\0ng.mid", 9), "song.mid"},
        {"RightToLeftOverride", "song\u202Edim.exe", "songdim.exe"},
        {"AllBidiControls", "a\u200E\u200F\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069b", "ab"},
        {"InvalidUtf8Dropped", "so\xFFng\xC3.mid", "song.mid"},
        {"OverlongSlashIsNoSlash",
         "a\xC0\xAF"
         "b.mid",
         "ab.mid"},
        {"Japanese", "曲.mid", "曲.mid"},
        {"Empty", "", ""},
        {"LongAsciiKeepsExtension", std::string(300, 'a') + ".mid", std::string(251, 'a') + ".mid"},
        // 3-byte characters: 251 bytes of room hold 83 of them (249 bytes), never a half.
        {"LongJapaneseCutAtCharacter", Many("曲", 100) + ".mid", Many("曲", 83) + ".mid"},
        {"HugeExtensionCutWhole", "a." + std::string(300, 'b'), "a." + std::string(253, 'b')},
    }),
    [](const testing::TestParamInfo<NameCase>& info) { return info.param.Name; });

TEST(SafeName, NumberedNamesGoBeforeTheExtensionAndStillFit) {
  EXPECT_EQ(NumberedFileName("song.mid", 2), "song-2.mid");
  EXPECT_EQ(NumberedFileName("song", 3), "song-3");
  EXPECT_EQ(NumberedFileName("a.b.mid", 10), "a.b-10.mid");
  std::string numbered = NumberedFileName(std::string(251, 'a') + ".mid", 2);
  EXPECT_EQ(numbered, std::string(249, 'a') + "-2.mid");
  EXPECT_EQ(numbered.size(), kMaxFileNameBytes);
}
