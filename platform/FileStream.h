// SPDX-License-Identifier: MIT
#pragma once

#include <fcntl.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "AnsiString.h"
#include "SysUtils.h"

// Open modes of TFileStream, as the class library names them.
enum : unsigned {
  fmOpenRead = 0x0000,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// Where and how fmCreate makes its file. The defaults give the class library's behaviour:
// a path relative to the working folder, an existing file emptied, links followed.
struct TCreateOptions {
  int DirFd = AT_FDCWD;    // folder that a relative name is taken in
  bool Exclusive = false;  // fail with EEXIST instead of emptying an existing file
  bool NoFollow = false;   // fail with ELOOP instead of writing through a symbolic link
};

// A file opened by name, with the class library's share modes kept as open-file-description
// locks, so they hold between streams of one process as between processes:
// - fmOpenRead | fmShareDenyNone opens for reading, shared with readers and writers, and
//   holds a read lock, so no stream can create (and so empty) the file while it is open.
//   Raises EFOpenError when the file cannot be opened or is a folder.
// - fmCreate creates the file or empties an existing one, opened for reading and writing
//   and shared with no one: the write lock is taken before the file is emptied. Raises
//   EFCreateError when the file cannot be created or another stream holds it open.
// Writes are buffered; a write that does not reach the file whole raises EWriteError,
// also from Flush. The destructor writes what is still buffered (ignoring failure, as it
// cannot report it) and closes the file.
class TFileStream {
 public:
  TFileStream(const AnsiString& fileName, unsigned mode, const TCreateOptions& options = {});
  // Adopts an open descriptor (standard input, say) for reading; closes it only if owned.
  TFileStream(int handle, const AnsiString& fileName, bool ownsHandle);
  ~TFileStream();

  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  // Reads up to count bytes; 0 at the end of the file and after a read error alike.
  std::size_t Read(void* buffer, std::size_t count);

  void Write(const void* buffer, std::size_t count) {
    if (FBuffer && count <= kBufferSize - FUsed) {
      std::memcpy(FBuffer.get() + FUsed, buffer, count);
      FUsed += count;
      return;
    }
    WriteThrough(buffer, count);
  }

  // Writes out what is buffered; raises EWriteError when not all of it reached the file.
  void Flush();

  const AnsiString& FileName() const noexcept { return FFileName; }
  int Handle() const noexcept { return FHandle; }

 private:
  static constexpr std::size_t kBufferSize = 256 * 1024;

  void WriteThrough(const void* buffer, std::size_t count);

  AnsiString FFileName;
  int FHandle = -1;
  bool FOwnsHandle = true;
  std::unique_ptr<char[]> FBuffer;
  std::size_t FUsed = 0;
};
