// SPDX-License-Identifier: MIT
#include "ExtractCommand.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "TestSupport.h"

using tonbrix_test::DataFile;
using tonbrix_test::Mail;
using tonbrix_test::ReadFile;
using tonbrix_test::TTempDir;
using tonbrix_test::WriteFile;

namespace {

struct ParseCase {
  const char* Name;
  std::vector<std::string> Args;
  std::optional<int> Status;
  TExtractOptions Expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.Name; }

class ExtractArguments : public testing::TestWithParam<ParseCase> {};

struct RunResult {
  int Status;
  std::string Out;
  std::string Err;
};

RunResult Extract(TExtractOptions options, int stdinFd = -1) {
  std::ostringstream out, err;
  int status = RunExtract(options, stdinFd, out, err);
  return {status, out.str(), err.str()};
}

std::string TwoSongMail(const std::string& name) {
  return Mail({"Subject: two", "", "------=_P", "Content-Type: audio/mid; name=\"" + name + "\"",
               "", "TVRoZA==", "", "------=_P", "Content-Type: audio/mid; name=\"" + name + "\"",
               "", "QUJD", "", "------=_P--"});
}

}  // namespace

TEST_P(ExtractArguments, AreParsed) {
  const ParseCase& c = GetParam();
  std::vector<const char*> argv = {"tonbrix-extract"};
  for (const std::string& arg : c.Args) argv.push_back(arg.c_str());
  TExtractOptions options;
  std::ostringstream out, err;
  std::optional<int> status =
      ParseExtractArguments(static_cast<int>(argv.size()), argv.data(), options, out, err);
  EXPECT_EQ(status, c.Status) << err.str();
  if (status == 2) {
    EXPECT_NE(err.str().find("tonbrix-extract: "), std::string::npos);
  }
  if (status) return;
  EXPECT_EQ(options.OutputDir, c.Expected.OutputDir);
  EXPECT_EQ(options.Force, c.Expected.Force);
  EXPECT_EQ(options.List, c.Expected.List);
  EXPECT_EQ(options.Mails, c.Expected.Mails);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, ExtractArguments,
                         testing::ValuesIn(std::vector<ParseCase>{
                             {"OneMail", {"a.eml"}, std::nullopt, {"", false, false, {"a.eml"}}},
                             {"AllOptions",
                              {"-o", "out", "-f", "-l", "a.eml", "-", "b.eml"},
                              std::nullopt,
                              {"out", true, true, {"a.eml", "-", "b.eml"}}},
                             {"LongOptions",
                              {"--output-dir=out", "--force", "--list", "a.eml"},
                              std::nullopt,
                              {"out", true, true, {"a.eml"}}},
                             {"Help", {"--help"}, 0, {}},
                             {"Version", {"--version"}, 0, {}},
                             {"NoMail", {}, 2, {}},
                             {"UnknownOption", {"-x", "a.eml"}, 2, {}},
                             {"MissingDir", {"a.eml", "-o"}, 2, {}},
                         }),
                         [](const testing::TestParamInfo<ParseCase>& info) {
                           return info.param.Name;
                         });

TEST(ExtractCommand, WritesTheSampleAndPrintsItsPath) {
  TTempDir dir;
  RunResult result = Extract({dir / "out", false, false, {DataFile("tune.eml").string()}});
  EXPECT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(result.Out, dir / "out" + "/tune.mid\n");
  EXPECT_EQ(ReadFile(dir / "out/tune.mid"), ReadFile(DataFile("tune.mid")));
  EXPECT_EQ(result.Err, "");
}

TEST(ExtractCommand, TakenNamesGetNumbersAndForceReplacesOnlyOlderFiles) {
  TTempDir dir;
  WriteFile(dir / "two.eml", TwoSongMail("song.mid"));
  WriteFile(dir / "song.mid", "older");
  RunResult result = Extract({dir.Path().string(), false, false, {dir / "two.eml"}});
  EXPECT_EQ(result.Out, dir / "song-2.mid\n" + dir / "song-3.mid\n");
  EXPECT_EQ(ReadFile(dir / "song.mid"), "older");
  EXPECT_EQ(ReadFile(dir / "song-2.mid"), "MThd");
  EXPECT_EQ(ReadFile(dir / "song-3.mid"), "ABC");

  result = Extract({dir.Path().string(), true, false, {dir / "two.eml"}});
  EXPECT_EQ(result.Out, dir / "song.mid\n" + dir / "song-2.mid\n");
  EXPECT_EQ(ReadFile(dir / "song.mid"), "MThd");
  EXPECT_EQ(ReadFile(dir / "song-2.mid"), "ABC") << "a name written in this run was reused";
}

TEST(ExtractCommand, HostileNamesStayInsideTheFolder) {
  TTempDir dir;
  std::filesystem::create_directory(dir.Path() / "out");
  WriteFile(dir / "evil.eml",
            Mail({"------", "Content-Type: audio/mid; name=\"../../x.mid\"", "", "QUJD", "",
                  "------", "Content-Type: audio/mid; name=\"..\"", "", "QUJD"}));
  // A planted link under the declared name must not be written through.
  WriteFile(dir / "victim", "keep");
  std::filesystem::create_symlink(dir / "victim", dir.Path() / "out/x.mid");
  for (bool force : {false, true}) {
    RunResult result = Extract({dir / "out", force, false, {dir / "evil.eml"}});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(ReadFile(dir / "victim"), "keep");
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "out")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  // The second run, with --force, replaced its own earlier files but not the link.
  EXPECT_EQ(names, (std::vector<std::string>{"evil.mid", "x-2.mid", "x.mid"}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "out/x.mid"));
  EXPECT_EQ(ReadFile(dir / "out/x-2.mid"), "ABC");
  EXPECT_FALSE(std::filesystem::exists(dir.Path().parent_path() / "x.mid"));
}

TEST(ExtractCommand, ListsPartsWithoutWriting) {
  TTempDir dir;
  WriteFile(dir / "two.eml", TwoSongMail("song.mid"));
  RunResult result = Extract({dir.Path().string(), false, true, {dir / "two.eml"}});
  EXPECT_EQ(result.Status, 0);
  EXPECT_EQ(result.Out,
            dir / "two.eml" + "\t1\t4\tsong.mid\n" + dir / "two.eml" + "\t2\t3\tsong-2.mid\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(ExtractCommand, ErrorsAreReportedAndTheNextMailIsStillRead) {
  TTempDir dir;
  WriteFile(dir / "plain.eml", Mail({"Subject: hi", "", "no attachment"}));
  RunResult result =
      Extract({dir / "out",
               false,
               false,
               {dir / "missing.eml", dir / "plain.eml", DataFile("tune.eml").string()}});
  EXPECT_EQ(result.Status, 1);
  EXPECT_EQ(result.Err, "tonbrix-extract: " + dir / "missing.eml" + ": ファイル " +
                            dir / "missing.eml" + " を開けません: No such file or directory\n" +
                            "tonbrix-extract: " + dir / "plain.eml" + ": no MIDI attachment\n");
  EXPECT_EQ(result.Out, dir / "out" + "/tune.mid\n");
}

TEST(ExtractCommand, AFailedPartDoesNotStopTheNextOne) {
  TTempDir dir;
  std::filesystem::create_directory(dir.Path() / "out");
  WriteFile(dir / "m.eml", Mail({"------", "Content-Type: audio/mid; name=a.mid", "", "QQ==", "",
                                 "------", "Content-Type: audio/mid; name=b.mid", "", "QUJD"}));
  // A name that is a folder cannot be created, even by root and even with --force.
  std::filesystem::create_directory(dir.Path() / "out/a.mid");
  RunResult result = Extract({dir / "out", true, false, {dir / "m.eml"}});
  EXPECT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(result.Out, dir / "out/a-2.mid\n" + dir / "out/b.mid\n");
  WriteFile(dir / "file", "");
  result = Extract({dir / "file", false, false, {dir / "m.eml"}});
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Err.find("cannot use the output folder"), std::string::npos) << result.Err;
}

TEST(ExtractCommand, ReadsStandardInputAsStdin) {
  TTempDir dir;
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  std::string mail = ReadFile(DataFile("tune.eml"));
  ASSERT_EQ(write(pipeFds[1], mail.data(), mail.size()), static_cast<ssize_t>(mail.size()));
  close(pipeFds[1]);
  // The declared name is tune.mid; without one the stem would be "stdin".
  RunResult result = Extract({dir.Path().string(), false, false, {"-"}}, pipeFds[0]);
  close(pipeFds[0]);
  EXPECT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(ReadFile(dir / "tune.mid"), ReadFile(DataFile("tune.mid")));
}

TEST(ExtractCommand, UndeclaredNamesComeFromTheMailsStem) {
  TTempDir dir;
  WriteFile(dir / "letter.from.eml", Mail({"------", "Content-Type: audio/mid", "", "QQ=="}));
  RunResult result = Extract({dir / "o", false, false, {dir / "letter.from.eml"}});
  EXPECT_EQ(result.Out, dir / "o/letter.from.mid\n");
}

TEST(ExtractCommand, NeverWritesOntoTheMailBeingRead) {
  TTempDir dir;
  const std::string bytes = Mail({"------", "Content-Type: audio/mid; name=song.mid", "", "QQ=="});
  WriteFile(dir / "song.mid", bytes);
  RunResult result = Extract({dir.Path().string(), true, false, {dir / "song.mid"}});
  EXPECT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(ReadFile(dir / "song.mid"), bytes);
  EXPECT_EQ(ReadFile(dir / "song-2.mid"), "A");
}
