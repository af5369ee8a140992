// SPDX-License-Identifier: MIT
#include "MailExtractor.h"

#include "Base64.h"
#include "MailReader.h"

void TMailExtractor::ScanMail(const AnsiString& fileName) {
  TFileStream mail(fileName, fmOpenRead | fmShareDenyNone);
  ScanMail(mail);
}

void TMailExtractor::ScanMail(TFileStream& mail) {
  ReadMailLines(mail, *MailLines);
  FindMidiParts(*MailLines, [this](const TMidiPart& part) { HandleMidiPart(part); });
}

void TMailExtractor::HandleMidiPart(const TMidiPart& part) {
  SaveAttachment(*MailLines, part.BodyStart);
}

void TMailExtractor::SaveAttachment(const TStringList& mailLines, std::size_t bodyStart) {
  AnsiString fileName;
  if (!AskOutputFile(fileName)) return;
  GatherBody(mailLines, bodyStart, *AttachmentLines);
  std::unique_ptr<TFileStream> stream = CreateOutputStream(fileName);
  DecodeBase64(*AttachmentLines, *stream);
}

std::unique_ptr<TFileStream> TMailExtractor::CreateOutputStream(const AnsiString& fileName) {
  return std::make_unique<TFileStream>(fileName, fmCreate);
}

void TMailExtractor::DecodeBase64(const TStringList& lines, TFileStream& stream) {
  ShowStatusText(AnsiString(kDecodingText));
  try {
    DecodeLines(lines,
                [&stream](const char* bytes, std::size_t count) { stream.Write(bytes, count); });
    stream.Flush();
  } catch (...) {
    // "Done." would report success beside the error box.
    ShowStatusText(AnsiString());
    throw;
  }
  ShowStatusText(AnsiString(kDoneText));
}
