// SPDX-License-Identifier: MIT
#include "ExtractCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "DeclaredName.h"
#include "MailExtractor.h"
#include "SafeFileName.h"

#ifndef TONBRIX_VERSION
#define TONBRIX_VERSION "0.0"
#endif

namespace {

constexpr const char* kProgram = "tonbrix-extract";
// Beyond this many numbered names for one part the folder is taken to be hostile.
constexpr unsigned kMaxNumberedNames = 100000;

std::string Reason(int osError) {
  if (osError == EBUSY) return "in use by another program";
  return std::strerror(osError);
}

std::string Describe(const Exception& error) {
  std::string text = error.Message();
  if (error.OsError() != 0) text += ": " + Reason(error.OsError());
  return text;
}

// The mail's file name without its last extension; a leading dot starts no extension.
std::string MailStem(const std::string& mail) {
  if (mail == "-") return "stdin";
  std::string name = std::filesystem::path(mail).filename().string();
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

class TExtractRun : public TMailExtractor {
 public:
  TExtractRun(const TExtractOptions& options, int dirFd, std::ostream& out, std::ostream& err)
      : FOptions(options), FDirFd(dirFd), FOut(out), FErr(err) {
    MailLines = std::make_unique<TStringList>();
    AttachmentLines = std::make_unique<TStringList>();
  }

  // Extracts one mail; false if anything in it failed.
  bool Run(const std::string& mail, int stdinFd) {
    FMail = mail;
    FPartNumber = 0;
    FFailed = false;
    try {
      if (mail == "-") {
        TFileStream input(stdinFd, "-", false);
        ScanMail(input);
      } else {
        ScanMail(mail);
      }
    } catch (const Exception& error) {
      Report(Describe(error));
    }
    if (FPartNumber == 0 && !FFailed) FErr << kProgram << ": " << mail << ": no MIDI attachment\n";
    return !FFailed;
  }

 protected:
  void HandleMidiPart(const TMidiPart& part) override {
    ++FPartNumber;
    FBaseName = SafeFileName(DeclaredFileName(*MailLines, part.HeaderStart));
    if (FBaseName.empty()) FBaseName = SafeFileName(MailStem(FMail) + ".mid");
    if (FBaseName.empty()) FBaseName = "attachment.mid";
    if (FOptions.List) {
      ListPart(part);
      return;
    }
    try {
      SaveAttachment(*MailLines, part.BodyStart);
      FOut << OutputPath(FWrittenName) << '\n';
    } catch (const Exception& error) {
      // One part that cannot be written does not keep the others from being tried.
      Report(Describe(error));
    }
  }

  bool AskOutputFile(AnsiString& fileName) override {
    fileName = FBaseName;
    return true;
  }

  void ShowStatusText(const AnsiString&) override {}

  // Creates the first free name: base, base-2, base-3, ... A name written earlier in this
  // run is never reused; one present in the folder is replaced only with --force, and never
  // when it is a link, a folder or a file held open (such as a mail being read).
  std::unique_ptr<TFileStream> CreateOutputStream(const AnsiString& fileName) override {
    for (unsigned number = 1; number <= kMaxNumberedNames; ++number) {
      AnsiString candidate = number == 1 ? fileName : NumberedFileName(fileName, number);
      if (FWritten.count(candidate) != 0) continue;
      try {
        auto stream = std::make_unique<TFileStream>(candidate, fmCreate,
                                                    TCreateOptions{FDirFd, !FOptions.Force, true});
        FWritten.insert(candidate);
        FWrittenName = candidate;
        return stream;
      } catch (const EFCreateError& error) {
        int code = error.OsError();
        bool taken =
            code == EEXIST ||
            (FOptions.Force && (code == ELOOP || code == EISDIR || code == EBUSY || code == ENXIO));
        if (!taken) throw;
      }
    }
    throw EFCreateError(fileName, EEXIST);
  }

 private:
  void ListPart(const TMidiPart& part) {
    GatherBody(*MailLines, part.BodyStart, *AttachmentLines);
    std::size_t bytes = 0;
    DecodeLines(*AttachmentLines, [&bytes](const char*, std::size_t count) { bytes += count; });
    AnsiString name = FreeName(FBaseName);
    FWritten.insert(name);
    FOut << FMail << '\t' << FPartNumber << '\t' << bytes << '\t' << name << '\n';
  }

  // The name a part would be written as, without creating anything.
  AnsiString FreeName(const AnsiString& base) const {
    for (unsigned number = 1; number <= kMaxNumberedNames; ++number) {
      AnsiString candidate = number == 1 ? base : NumberedFileName(base, number);
      if (FWritten.count(candidate) != 0) continue;
      struct stat info {};
      if (::fstatat(FDirFd, candidate.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return candidate;
      if (FOptions.Force && S_ISREG(info.st_mode)) return candidate;
    }
    return base;
  }

  std::string OutputPath(const std::string& name) const {
    if (FOptions.OutputDir.empty()) return name;
    std::string path = FOptions.OutputDir;
    if (path.back() != '/') path += '/';
    return path + name;
  }

  void Report(const std::string& message) {
    FFailed = true;
    FErr << kProgram << ": " << FMail << ": " << message << '\n';
  }

  const TExtractOptions& FOptions;
  int FDirFd;
  std::ostream& FOut;
  std::ostream& FErr;
  std::string FMail;
  unsigned FPartNumber = 0;
  bool FFailed = false;
  AnsiString FBaseName;
  AnsiString FWrittenName;
  std::set<AnsiString> FWritten;
};

// Help with the usage line written as the manual writes it.
class TUsageFormatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App*, std::string) const override {
    return std::string("Usage: ") + kProgram + " [-o DIR] [-f] [-l] MAIL...\n";
  }
};

}  // namespace

std::optional<int> ParseExtractArguments(int argc, const char* const* argv,
                                         TExtractOptions& options, std::ostream& out,
                                         std::ostream& err) {
  CLI::App app{
      "Writes every MIDI attachment of saved e-mails (.eml) to a file, decoded from Base64.",
      kProgram};
  app.formatter(std::make_shared<TUsageFormatter>());
  app.set_version_flag("--version", std::string(kProgram) + " " + TONBRIX_VERSION);
  app.add_option("-o,--output-dir", options.OutputDir,
                 "Folder to write into (created if missing; default: the current folder)")
      ->option_text("DIR");
  app.add_flag("-f,--force", options.Force, "Replace files that were present before the run");
  app.add_flag("-l,--list", options.List,
               "Write nothing; print MAIL, part number, decoded bytes and name for every part");
  app.add_option("MAIL", options.Mails, "Mail files to read; - reads standard input")
      ->required()
      ->option_text("...");
  app.footer(
      "Exit status: 0 when everything was extracted, 1 when something failed, "
      "2 for a usage error.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return 0;
  } catch (const CLI::CallForVersion&) {
    out << app.version() << '\n';
    return 0;
  } catch (const CLI::ParseError& error) {
    err << kProgram << ": " << error.what() << "\nTry '" << kProgram << " --help'.\n";
    return 2;
  }
  return std::nullopt;
}

int RunExtract(const TExtractOptions& options, int stdinFd, std::ostream& out, std::ostream& err) {
  std::string dir = options.OutputDir.empty() ? "." : options.OutputDir;
  std::error_code created;
  if (!options.List) std::filesystem::create_directories(dir, created);
  int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) {
    int error = created ? created.value() : errno;
    err << kProgram << ": " << dir << ": cannot use the output folder: " << Reason(error) << '\n';
    return 1;
  }
  bool failed = false;
  {
    TExtractRun run(options, dirFd, out, err);
    for (const std::string& mail : options.Mails) {
      if (!run.Run(mail, stdinFd)) failed = true;
    }
  }
  ::close(dirFd);
  return failed ? 1 : 0;
}
