// SPDX-License-Identifier: MIT
#include "FileStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Takes a lock of the given type on the whole file, on this open file description.
// Returns 0, or EBUSY when another holder refuses it. Filesystems without lock
// support are not a refusal: the file is used unlocked there.
int LockWhole(int fd, short type) {
  // Share modes protect files' contents; devices and pipes (/dev/null, a FIFO) are not
  // held exclusively.
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return 0;
  int error = errno;
  // Reported as EBUSY: the file is in use, which is what a refusal means to the user.
  return (error == EAGAIN || error == EACCES) ? EBUSY : 0;
}

// Writes all count bytes, resuming after short writes; returns 0 or the errno that
// stopped it (ENOSPC when the system reports no progress without an error).
int WriteAll(int fd, const char* data, std::size_t count) {
  while (count > 0) {
    ssize_t written = ::write(fd, data, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;
    data += written;
    count -= static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

TFileStream::TFileStream(const AnsiString& fileName, unsigned mode, const TCreateOptions& options)
    : FFileName(fileName) {
  if (mode == fmCreate) {
    int flags = O_RDWR | O_CREAT | O_CLOEXEC;
    if (options.Exclusive) flags |= O_EXCL;
    if (options.NoFollow) flags |= O_NOFOLLOW;
    // Not O_TRUNC: the file may be held by another stream, and must not be emptied
    // before our own lock on it is granted.
    FHandle = ::openat(options.DirFd, fileName.c_str(), flags, 0666);
    if (FHandle < 0) throw EFCreateError(fileName, errno);
    if (int refused = LockWhole(FHandle, F_WRLCK)) {
      ::close(FHandle);
      throw EFCreateError(fileName, refused);
    }
    struct stat info {};
    if (::fstat(FHandle, &info) == 0 && S_ISREG(info.st_mode) && info.st_size != 0 &&
        ::ftruncate(FHandle, 0) != 0) {
      int error = errno;
      ::close(FHandle);
      throw EFCreateError(fileName, error);
    }
    FBuffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    return;
  }

  // Opened without blocking, so that a FIFO with no writer yet reads as empty instead of
  // holding the program in open() for ever; reads block again as usual.
  FHandle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (FHandle < 0) throw EFOpenError(fileName, errno);
  ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
  struct stat info {};
  if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(FHandle);
    throw EFOpenError(fileName, EISDIR);
  }
  if (int refused = LockWhole(FHandle, F_RDLCK)) {
    ::close(FHandle);
    throw EFOpenError(fileName, refused);
  }
}

TFileStream::TFileStream(int handle, const AnsiString& fileName, bool ownsHandle)
    : FFileName(fileName), FHandle(handle), FOwnsHandle(ownsHandle) {}

TFileStream::~TFileStream() {
  if (FUsed > 0) WriteAll(FHandle, FBuffer.get(), FUsed);
  if (FOwnsHandle && FHandle >= 0) ::close(FHandle);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  for (;;) {
    ssize_t got = ::read(FHandle, buffer, count);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

void TFileStream::Flush() {
  if (FUsed == 0) return;
  std::size_t used = FUsed;
  // Whatever happens, these bytes are not offered again: the file keeps what reached it.
  FUsed = 0;
  if (int error = WriteAll(FHandle, FBuffer.get(), used)) throw EWriteError(error);
}

void TFileStream::WriteThrough(const void* buffer, std::size_t count) {
  if (!FBuffer) throw EWriteError(EBADF);
  Flush();
  if (count >= kBufferSize) {
    if (int error = WriteAll(FHandle, static_cast<const char*>(buffer), count)) {
      throw EWriteError(error);
    }
    return;
  }
  std::memcpy(FBuffer.get(), buffer, count);
  FUsed = count;
}
