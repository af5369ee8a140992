// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>

#include "AnsiString.h"
#include "Base64.h"
#include "Classes.h"
#include "FileStream.h"
#include "MailScanner.h"

inline constexpr std::string_view kDecodingText = "Decoding ...";
inline constexpr std::string_view kDoneText = "Done.";

// The extraction of MIDI attachments from a mail, driven by a host that supplies the two
// things only it can: asking where to write a part, and showing a status text. The main
// window is one host, tonbrix-extract another, the tests a third; each derives from this
// class, so ScanMail, SaveAttachment and DecodeBase64 are operations of the host itself.
// The host creates MailLines and AttachmentLines before the first scan.
class TMailExtractor {
 public:
  virtual ~TMailExtractor() = default;

  // Reads the mail at fileName into MailLines and handles every MIDI part, in file order.
  // The mail stays open, shared, until the scan ends. Raises EFOpenError when the mail
  // cannot be opened; an error raised while a part is handled ends the scan and passes on.
  void ScanMail(const AnsiString& fileName);
  // The same for a mail that is already open, such as standard input.
  void ScanMail(TFileStream& mail);

  // Asks the host for an output file; if one is confirmed, gathers the body that starts at
  // bodyStart into AttachmentLines, creates the file and decodes the body into it. A
  // declined part is skipped. EFCreateError and EWriteError pass on; the file is closed.
  void SaveAttachment(const TStringList& mailLines, std::size_t bodyStart);

  // Decodes the joined text of lines into stream, between the status texts "Decoding ..."
  // and "Done.". When a write fails the status text is emptied and the error passes on.
  void DecodeBase64(const TStringList& lines, TFileStream& stream);

  std::unique_ptr<TStringList> MailLines;
  std::unique_ptr<TStringList> AttachmentLines;

 protected:
  // Asks where to write the next part; false when the user declines it.
  virtual bool AskOutputFile(AnsiString& fileName) = 0;
  virtual void ShowStatusText(const AnsiString& text) = 0;
  // Opens the output file chosen by AskOutputFile; the default creates or empties it.
  virtual std::unique_ptr<TFileStream> CreateOutputStream(const AnsiString& fileName);
  // Called by the scan for each MIDI part; the default saves it.
  virtual void HandleMidiPart(const TMidiPart& part);
};

// Decodes the joined text of lines (every entry followed by CR LF) into sink. CR and LF are
// skipped by the decoder wherever they stand and entries hold no NUL, so the entries are
// decoded straight from the list, back to back, without building the joined copy.
template <class Sink>
void DecodeLines(const TStringList& lines, Sink&& sink) {
  TBase64Decoder decoder;
  if (decoder.Feed(lines.Chars(), sink)) decoder.End(sink);
}
