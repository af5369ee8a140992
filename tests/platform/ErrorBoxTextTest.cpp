// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "SysUtils.h"

namespace {

struct PeriodCase {
  const char* Name;
  std::string Message;
  std::string Shown;
};

void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.Name; }

class FinalPeriod : public testing::TestWithParam<PeriodCase> {};

}  // namespace

TEST_P(FinalPeriod, AddsAPeriodAfterACharacterAboveTheFullStop) {
  EXPECT_EQ(ErrorBoxText(GetParam().Message), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(
    FinalCharacter, FinalPeriod,
    testing::ValuesIn(std::vector<PeriodCase>{
        {"Letter", "cannot open", "cannot open."},
        {"Digit", "error 5", "error 5."},
        {"Colon", "reason:", "reason:."},
        {"FullStop", "Done.", "Done."},
        {"Exclamation", "stop!", "stop!"},
        {"Comma", "a,", "a,"},
        {"Hyphen", "a-", "a-"},
        {"ClosingParenthesis", "(a)", "(a)"},
        {"Space", "a ", "a "},
        {"JapaneseCharacter", "ファイル x を作成できません", "ファイル x を作成できません."},
        {"IdeographicFullStop", "できません。", "できません。."},
        {"Empty", "", ""},
    }),
    [](const testing::TestParamInfo<PeriodCase>& info) { return info.param.Name; });
