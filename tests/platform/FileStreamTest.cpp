// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FileStream.h"
#include "TestSupport.h"

using tonbrix_test::ReadFile;
using tonbrix_test::TTempDir;
using tonbrix_test::WriteFile;

namespace {
const std::string kCreateJa = "を作成できません";

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}
}  // namespace

TEST(FileStream, CreateEmptiesAnExistingFileAndWritesEveryByte) {
  TTempDir dir;
  WriteFile(dir / "out.mid", std::string(1000, 'x'));
  // Small writes of one to three bytes, as the decoder makes them, and one larger than
  // the buffer, in one stream.
  const std::string small = Pattern(300000), large = Pattern(1 << 20);
  {
    TFileStream stream(dir / "out.mid", fmCreate);
    for (std::size_t i = 0; i < small.size(); i += 3) stream.Write(small.data() + i, 3);
    stream.Write(large.data(), large.size());
    stream.Flush();
  }
  EXPECT_EQ(ReadFile(dir / "out.mid"), small + large);
}

TEST(FileStream, DestructorWritesWhatIsStillBuffered) {
  TTempDir dir;
  { TFileStream(dir / "out.mid", fmCreate).Write("MThd", 4); }
  EXPECT_EQ(ReadFile(dir / "out.mid"), "MThd");
}

TEST(FileStream, CreateErrorNamesTheFile) {
  TTempDir dir;
  WriteFile(dir / "file", "x");
  std::filesystem::create_directory(dir.Path() / "folder");
  // Both fail for root too: a parent that is a file, a name that is a folder.
  for (const std::string& name : {dir / "file/out.mid", dir / "folder"}) {
    try {
      TFileStream stream(name, fmCreate);
      ADD_FAILURE() << "created " << name;
    } catch (const EFCreateError& error) {
      EXPECT_EQ(error.Message(), "ファイル " + name + " を作成できません");
      EXPECT_NE(error.OsError(), 0);
    }
  }
  EXPECT_EQ(ReadFile(dir / "file"), "x");
}

TEST(FileStream, FullDiskRaisesWriteErrorAtTheWriteOrTheFinalFlush) {
  const std::string bytes = Pattern(1 << 20);
  {
    TFileStream stream("/dev/full", fmCreate);
    EXPECT_THROW(stream.Write(bytes.data(), bytes.size()), EWriteError);
  }
  TFileStream stream("/dev/full", fmCreate);
  stream.Write("MThd", 4);  // buffered: nothing reaches the device yet
  try {
    stream.Flush();
    ADD_FAILURE() << "flush to /dev/full succeeded";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), "ストリームへの書き込みエラー");
    EXPECT_EQ(error.OsError(), ENOSPC);
  }
}

TEST(FileStream, OpenErrorNamesTheFile) {
  TTempDir dir;
  std::filesystem::create_directory(dir.Path() / "folder");
  for (const std::string& name : {dir / "missing.eml", std::string(), dir / "folder"}) {
    try {
      TFileStream stream(name, fmOpenRead | fmShareDenyNone);
      ADD_FAILURE() << "opened '" << name << "'";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.Message(), "ファイル " + name + " を開けません");
    }
  }
}

// A file open for reading cannot be created (emptied) by another stream, and a file
// being written cannot be opened by a second writer; readers share with each other.
TEST(FileStream, ShareModesHoldBetweenStreams) {
  TTempDir dir;
  const std::string mail = dir / "song.eml";
  WriteFile(mail, "mail bytes");
  {
    TFileStream reader(mail, fmOpenRead | fmShareDenyNone);
    TFileStream secondReader(mail, fmOpenRead | fmShareDenyNone);
    EXPECT_THROW((TFileStream{mail, fmCreate}), EFCreateError);
  }
  EXPECT_EQ(ReadFile(mail), "mail bytes");
  TFileStream writer(dir / "out.mid", fmCreate);
  EXPECT_THROW((TFileStream{dir / "out.mid", fmCreate}), EFCreateError);
  EXPECT_THROW((TFileStream{dir / "out.mid", fmOpenRead | fmShareDenyNone}), EFOpenError);
}

TEST(FileStream, ShareModesHoldBetweenProcesses) {
  TTempDir dir;
  const std::string mail = dir / "song.eml";
  WriteFile(mail, "mail bytes");
  TFileStream reader(mail, fmOpenRead | fmShareDenyNone);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      TFileStream writer(mail, fmCreate);
      _exit(0);
    } catch (const EFCreateError& error) {
      _exit(error.OsError() == EBUSY ? 3 : 4);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the other process could create the open mail";
  EXPECT_EQ(ReadFile(mail), "mail bytes");
}

TEST(FileStream, ExclusiveAndNoFollowOptionsRefuseExistingNamesAndLinks) {
  TTempDir dir;
  WriteFile(dir / "target", "keep");
  std::filesystem::create_symlink(dir / "target", dir.Path() / "link.mid");
  auto createError = [&](const std::string& name, TCreateOptions options) {
    try {
      TFileStream stream(name, fmCreate, options);
    } catch (const EFCreateError& error) {
      return error.OsError();
    }
    return 0;
  };
  EXPECT_EQ(createError(dir / "link.mid", {AT_FDCWD, false, true}), ELOOP);
  EXPECT_EQ(createError(dir / "link.mid", {AT_FDCWD, true, false}), EEXIST);
  EXPECT_EQ(createError(dir / "target", {AT_FDCWD, true, true}), EEXIST);
  EXPECT_EQ(ReadFile(dir / "target"), "keep");
}
