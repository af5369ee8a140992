// SPDX-License-Identifier: MIT
#pragma once

#include <exception>
#include <string_view>

#include "AnsiString.h"

// Base of every error the program raises. Carries the message shown to the user and,
// where the failure came from the system, the errno behind it (0 when there is none).
class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message, int osError = 0)
      : FMessage(std::move(message)), FOsError(osError) {}

  const AnsiString& Message() const noexcept { return FMessage; }
  int OsError() const noexcept { return FOsError; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  AnsiString FMessage;
  int FOsError;
};

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

// A file could not be opened for reading: "ファイル %s を開けません".
class EFOpenError : public EStreamError {
 public:
  EFOpenError(std::string_view fileName, int osError);
};

// An output file could not be created or emptied: "ファイル %s を作成できません".
class EFCreateError : public EStreamError {
 public:
  EFCreateError(std::string_view fileName, int osError);
};

// Fewer bytes reached a file than were written: "ストリームへの書き込みエラー".
class EWriteError : public EStreamError {
 public:
  explicit EWriteError(int osError);
};

// Replaces the first "%s" of format with argument.
AnsiString FormatMessage(std::string_view format, std::string_view argument);

// The text of the error box for message: a "." is added when the message is not empty and
// the first byte of its last character is above the full stop (0x2E), compared unsigned.
AnsiString ErrorBoxText(std::string_view message);
