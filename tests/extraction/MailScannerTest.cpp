// SPDX-License-Identifier: MIT
#include "MailScanner.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using tonbrix_test::Entries;

namespace {

TStringList List(const std::vector<std::string>& entries) {
  TStringList list;
  for (const std::string& entry : entries) list.Add(entry);
  return list;
}

std::vector<std::pair<std::size_t, std::size_t>> Parts(const std::vector<std::string>& entries) {
  TStringList list = List(entries);
  std::vector<std::pair<std::size_t, std::size_t>> parts;
  FindMidiParts(list, [&](const TMidiPart& p) { parts.emplace_back(p.HeaderStart, p.BodyStart); });
  return parts;
}

struct LineCase {
  const char* Name;
  std::string Line;
  bool Expected;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.Name; }

std::string CaseName(const testing::TestParamInfo<LineCase>& info) { return info.param.Name; }

class DelimiterLine : public testing::TestWithParam<LineCase> {};
class MidiContentType : public testing::TestWithParam<LineCase> {};

}  // namespace

TEST_P(DelimiterLine, IsRecognisedByItsFirstSixBytes) {
  EXPECT_EQ(IsDelimiterLine(GetParam().Line), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, DelimiterLine,
                         testing::ValuesIn(std::vector<LineCase>{
                             {"Typical", "------=_Part_0001", true},
                             {"ExactlySixHyphens", "------", true},
                             {"FiveHyphens", "-----=_Part", false},
                             {"TwoHyphens", "--boundary", false},
                             {"LeadingBlank", " ------=_Part_0001", false},
                             {"Empty", "", false},
                         }),
                         CaseName);

TEST_P(MidiContentType, MarksAMidiPart) {
  EXPECT_EQ(IsMidiContentType(GetParam().Line), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, MidiContentType,
                         testing::ValuesIn(std::vector<LineCase>{
                             {"ThePrefixItself", "Content-Type: audio/mid", true},
                             {"ParametersFollow", "Content-Type: audio/mid; name=song.mid", true},
                             {"LongerSubtype", "Content-Type: audio/midi", true},
                             {"OtherSubtype", "Content-Type: audio/x-midi", false},
                             {"LowerCase", "content-type: audio/mid", false},
                             {"LowerCaseT", "Content-type: audio/mid", false},
                             {"NoBlankAfterColon", "Content-Type:audio/mid", false},
                             {"NotAtLineStart", "X-Note: Content-Type: audio/mid", false},
                             {"Shorter", "Content-Type: audio/mi", false},
                         }),
                         CaseName);

TEST(MailScanner, WorkedExampleFindsOnePartWithBodyAt17) {
  EXPECT_EQ(Parts(tonbrix_test::WorkedExampleLines()),
            (std::vector<std::pair<std::size_t, std::size_t>>{{12, 17}}));
}

struct ScanCase {
  const char* Name;
  std::vector<std::string> Entries;
  std::vector<std::pair<std::size_t, std::size_t>> Expected;  // header start, body start
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.Name; }

class MailScan : public testing::TestWithParam<ScanCase> {};

TEST_P(MailScan, FindsTheMidiPartsOfTheRules) {
  EXPECT_EQ(Parts(GetParam().Entries), GetParam().Expected);
}

const std::string kMidi = "Content-Type: audio/mid";

INSTANTIATE_TEST_SUITE_P(
    Consequences, MailScan,
    testing::ValuesIn(std::vector<ScanCase>{
        {"EmptyMail", {}, {}},
        {"NoDelimiter", {"Subject: x", "", kMidi, "", "QQ=="}, {}},
        {"DelimiterAsFirstLine", {"------=_P", kMidi, "", "QQ=="}, {{0, 3}}},
        {"MatchAfterOtherHeaderLines",
         {"------", "Content-Disposition: attachment", "  filename=a.mid", kMidi, "", "QQ=="},
         {{0, 5}}},
        {"OwnHeaderBlockNeverSearched", {kMidi + "; name=a.mid", "", "QUJD", "QUJD"}, {}},
        {"DelimiterAfterTextIsMissed",
         {"------", "Content-Type: text/plain", "", "text", "------", kMidi, "", "QQ=="},
         {}},
        {"DelimiterAfterNonMidiHeaderIsTested",
         {"------", "Content-Type: text/plain", "", "------", kMidi, "", "QQ=="},
         {{3, 6}}},
        {"SecondBodyLineIsTested",
         {"------", kMidi, "", "QQ==", "------", kMidi, "", "QUI="},
         {{0, 3}, {4, 7}}},
        {"ThirdBodyLineIsNotTested",
         {"------", kMidi, "", "QQ==", "QQ==", "------", kMidi, "", "QUI="},
         {{0, 3}}},
        {"HeaderRunsToEndOfMail", {"------", kMidi, "Content-Transfer-Encoding: base64"}, {{0, 4}}},
        {"TwoParts",
         {"------", kMidi, "", "QQ==", "", "------", kMidi, "", "QUI=", "", "------"},
         {{0, 3}, {5, 8}}},
        {"WalkReachesEndWithoutMatch", {"------", "Content-Type: text/plain"}, {}},
    }),
    [](const testing::TestParamInfo<ScanCase>& info) { return info.param.Name; });

TEST(MailScanner, GatherBodyStopsAtEmptyEntryDelimiterOrEnd) {
  TStringList mail =
      List({"------", kMidi, "", "QUJD", "RA==", "------=_Next", kMidi, "", "QQ==", "", "after"});
  TStringList body;
  body.Add("left from the last part");
  GatherBody(mail, 3, body);
  EXPECT_EQ(Entries(body), (std::vector<std::string>{"QUJD", "RA=="}));
  GatherBody(mail, 8, body);
  EXPECT_EQ(Entries(body), std::vector<std::string>{"QQ=="});
  GatherBody(mail, 10, body);
  EXPECT_EQ(Entries(body), std::vector<std::string>{"after"});
  GatherBody(mail, 11, body);
  EXPECT_TRUE(Entries(body).empty());
  GatherBody(mail, 99, body);
  EXPECT_TRUE(Entries(body).empty());
}
