// SPDX-License-Identifier: MIT
#include "MailExtractor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"

using tonbrix_test::DataFile;
using tonbrix_test::Mail;
using tonbrix_test::ReadFile;
using tonbrix_test::TScriptedExtractor;
using tonbrix_test::TTempDir;
using tonbrix_test::WriteFile;

namespace {

const std::vector<std::string> kDecodingDone = {"Decoding ...", "Done."};

// Two MIDI parts: MThd, then ABC.
std::string TwoPartMail() {
  return Mail({"Subject: two", "Content-Type: multipart/mixed", "", "------=_P",
               "Content-Type: audio/mid", "", "TVRoZA==", "", "------=_P",
               "Content-Type: audio/midi", "", "QUJD", "", "------=_P--"});
}

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

class MailExtractor : public testing::Test {
 protected:
  TTempDir Dir;
  TScriptedExtractor Host;
  std::string MailPath = Dir / "mail.eml";
};

}  // namespace

TEST_F(MailExtractor, WorkedExampleWritesMThd) {
  WriteFile(MailPath, Mail(tonbrix_test::WorkedExampleLines()));
  Host.Answers = {Dir / "song.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(Host.MailLines->Count(), 20u);
  EXPECT_EQ(Host.Dialogs, 1);
  EXPECT_EQ(ReadFile(Dir / "song.mid"), "MThd");
  EXPECT_EQ(Host.StatusTexts, kDecodingDone);
}

TEST_F(MailExtractor, SampleMailGivesTheMidiFileWhole) {
  std::filesystem::copy_file(DataFile("tune.eml"), MailPath);
  Host.Answers = {Dir / "tune.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(ReadFile(Dir / "tune.mid"), ReadFile(DataFile("tune.mid")));
}

TEST_F(MailExtractor, CancellingTheFirstPartStillOffersTheSecond) {
  WriteFile(MailPath, TwoPartMail());
  Host.Answers = {std::nullopt, Dir / "second.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(Host.Dialogs, 2);
  EXPECT_EQ(ReadFile(Dir / "second.mid"), "ABC");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()), {}), 2)
      << "a cancelled part created a file";
  EXPECT_EQ(Host.StatusTexts, kDecodingDone);
}

TEST_F(MailExtractor, SameNameTwiceKeepsOnlyTheSecondPart) {
  WriteFile(Dir / "out.mid", "an older and longer file");
  WriteFile(MailPath, TwoPartMail());
  Host.Answers = {Dir / "out.mid", Dir / "out.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(ReadFile(Dir / "out.mid"), "ABC");
}

TEST_F(MailExtractor, BodyEndingWithoutPadLeavesNothingForTheNextPart) {
  WriteFile(MailPath, Mail({"------", "Content-Type: audio/mid", "", "QUI", "", "------",
                            "Content-Type: audio/mid", "", "QUJD", ""}));
  Host.Answers = {Dir / "a.mid", Dir / "b.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(ReadFile(Dir / "a.mid"), "AB");
  EXPECT_EQ(ReadFile(Dir / "b.mid"), "ABC");
}

TEST_F(MailExtractor, EmptyBodyGivesAnEmptyFile) {
  WriteFile(MailPath, Mail({"------", "Content-Type: audio/mid"}));  // header to the end
  Host.Answers = {Dir / "empty.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(Host.Dialogs, 1);
  EXPECT_TRUE(std::filesystem::exists(Dir / "empty.mid"));
  EXPECT_EQ(ReadFile(Dir / "empty.mid"), "");
  EXPECT_EQ(Host.StatusTexts, kDecodingDone);
}

TEST_F(MailExtractor, MailWithoutMidiPartAsksNothing) {
  WriteFile(MailPath, Mail({"Content-Type: audio/mid", "", "------", "Content-Type: text/plain", "",
                            "QUJD"}));
  Host.ScanMail(MailPath);
  EXPECT_EQ(Host.Dialogs, 0);
  EXPECT_TRUE(Host.StatusTexts.empty());
}

// Mailers that write the next delimiter right after the Base64 text would otherwise have
// that delimiter and the next part's header lines decoded into the file.
TEST_F(MailExtractor, BodyStopsAtADelimiterRightAfterIt) {
  WriteFile(MailPath, Mail({"------=_P", "Content-Type: audio/mid", "", "TVRo", "ZA==", "------=_P",
                            "Content-Type: text/plain; name=Zm9v", "", "x"}));
  Host.Answers = {Dir / "a.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(ReadFile(Dir / "a.mid"), "MThd");
  WriteFile(MailPath, Mail({"------=_P", "Content-Type: audio/mid", "", "QUJD", "------=_P",
                            "Content-Type: text/plain", "", "x"}));
  Host.Answers = {Dir / "b.mid"};
  Host.ScanMail(MailPath);
  EXPECT_EQ(ReadFile(Dir / "b.mid"), "ABC") << "the delimiter's letters were decoded";
}

// A body line of exactly 127 characters must not end the body early.
TEST_F(MailExtractor, BodyLinesOf127And254BytesAreDecodedWhole) {
  std::string payload;
  for (int i = 0; i < 300; ++i) payload += static_cast<char>(i * 13);
  std::string text = tonbrix_test::EncodeBase64(payload);
  for (std::size_t width : {127u, 254u}) {
    std::vector<std::string> lines = {"------", "Content-Type: audio/mid", ""};
    for (const std::string& line : tonbrix_test::Wrap(text, width)) lines.push_back(line);
    WriteFile(MailPath, Mail(lines));
    Host.Answers = {Dir / "long.mid"};
    Host.ScanMail(MailPath);
    EXPECT_EQ(ReadFile(Dir / "long.mid"), payload) << "lines of " << width;
  }
}

TEST_F(MailExtractor, CreateErrorNamesTheFileAndEndsTheScan) {
  WriteFile(MailPath, TwoPartMail());
  WriteFile(Dir / "file", "");
  const std::string bad = Dir / "file/out.mid";
  Host.Answers = {bad, Dir / "second.mid"};
  try {
    Host.ScanMail(MailPath);
    FAIL() << "no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + bad + " を作成できません");
  }
  EXPECT_EQ(Host.Dialogs, 1) << "the scan went on after the error";
  EXPECT_TRUE(Host.StatusTexts.empty());
}

TEST_F(MailExtractor, WriteErrorClosesTheFileEmptiesTheStatusAndEndsTheScan) {
  WriteFile(MailPath, TwoPartMail());
  Host.Answers = {"/dev/full", Dir / "second.mid"};
  const std::size_t descriptors = OpenDescriptors();
  try {
    Host.ScanMail(MailPath);
    FAIL() << "no error";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), "ストリームへの書き込みエラー");
  }
  EXPECT_EQ(Host.Dialogs, 1);
  EXPECT_EQ(Host.StatusTexts, (std::vector<std::string>{"Decoding ...", ""}));
  // The output and the mail were both closed.
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_NO_THROW((TFileStream{MailPath, fmCreate}));
}

TEST_F(MailExtractor, TheMailItselfChosenAsOutputIsLeftIntact) {
  const std::string bytes = TwoPartMail();
  WriteFile(MailPath, bytes);
  Host.Answers = {MailPath};
  try {
    Host.ScanMail(MailPath);
    FAIL() << "the mail was opened as output";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + MailPath + " を作成できません");
  }
  EXPECT_EQ(ReadFile(MailPath), bytes);
}

TEST_F(MailExtractor, MailThatCannotBeOpenedRaisesAnErrorNamingIt) {
  std::filesystem::create_directory(Dir.Path() / "folder");
  for (const std::string& name : {Dir / "missing.eml", std::string(), Dir / "folder"}) {
    try {
      Host.ScanMail(name);
      ADD_FAILURE() << "scanned '" << name << "'";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.Message(), "ファイル " + name + " を開けません");
    }
  }
  EXPECT_EQ(Host.Dialogs, 0);
}

TEST_F(MailExtractor, EachScanOffersOnlyItsOwnMailsParts) {
  WriteFile(MailPath, TwoPartMail());
  WriteFile(Dir / "other.eml", Mail({"------", "Content-Type: audio/mid", "", "QQ=="}));
  Host.ScanMail(MailPath);
  Host.ScanMail(Dir / "other.eml");
  EXPECT_EQ(Host.Dialogs, 3);
  Host.Answers = {Dir / "x.mid"};
  Host.ScanMail(Dir / "other.eml");
  EXPECT_EQ(Host.Dialogs, 4);
  EXPECT_EQ(ReadFile(Dir / "x.mid"), "A");
}

// The mail is read whole before the first dialog: deleting or replacing it while a save
// dialog is open changes nothing in this scan.
TEST_F(MailExtractor, MailDeletedOrReplacedWhileTheDialogIsOpenIsScannedWhole) {
  for (bool replace : {false, true}) {
    WriteFile(MailPath, TwoPartMail());
    struct TMeddlingHost : TScriptedExtractor {
      std::string Mail;
      bool Replace = false;
      bool AskOutputFile(AnsiString& fileName) override {
        if (Dialogs == 0) {
          std::filesystem::remove(Mail);
          if (Replace) WriteFile(Mail, "Subject: another mail\r\n");
        }
        return TScriptedExtractor::AskOutputFile(fileName);
      }
    } host;
    host.Mail = MailPath;
    host.Replace = replace;
    host.Answers = {Dir / "a.mid", Dir / "b.mid"};
    host.ScanMail(MailPath);
    EXPECT_EQ(ReadFile(Dir / "a.mid"), "MThd");
    EXPECT_EQ(ReadFile(Dir / "b.mid"), "ABC");
  }
}

TEST_F(MailExtractor, FifoWithoutWriterReadsAsAnEmptyMail) {
  ASSERT_EQ(::mkfifo((Dir / "pipe.eml").c_str(), 0600), 0);
  Host.ScanMail(Dir / "pipe.eml");  // must return, not wait for a writer
  EXPECT_EQ(Host.MailLines->Count(), 0u);
  EXPECT_EQ(Host.Dialogs, 0);
}

// A mail still being written while it is read (here through a FIFO, in pieces with pauses)
// is read to its end.
TEST_F(MailExtractor, MailThatGrowsWhileItIsReadIsReadToItsEnd) {
  const std::string fifo = Dir / "growing.eml";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string bytes = TwoPartMail();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    // Read-write, so the open does not wait for a reader and the writer is there first.
    int fd = ::open(fifo.c_str(), O_RDWR);
    if (fd < 0 || ::write(ready[1], "!", 1) != 1) _exit(1);
    for (std::size_t at = 0; at < bytes.size(); at += 7) {
      if (::write(fd, bytes.data() + at, std::min<std::size_t>(7, bytes.size() - at)) < 0) _exit(1);
      ::usleep(2000);
    }
    _exit(0);
  }
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  ::close(ready[0]);
  ::close(ready[1]);
  Host.Answers = {Dir / "a.mid", Dir / "b.mid"};
  Host.ScanMail(fifo);
  int status = 0;
  ::waitpid(writer, &status, 0);
  EXPECT_EQ(ReadFile(Dir / "a.mid"), "MThd");
  EXPECT_EQ(ReadFile(Dir / "b.mid"), "ABC");
}
