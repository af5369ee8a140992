// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "MailExtractor.h"

namespace tonbrix_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tonbrix-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fixture of tests/data; tests copy it before anything could change it.
inline std::filesystem::path DataFile(const std::string& name) {
  return std::filesystem::path(TONBRIX_TEST_DATA) / name;
}

// The 20 lines of the mail that the scan rules are explained with: one MIDI part, whose
// body TVRoZA== starts at line 17.
inline const std::vector<std::string>& WorkedExampleLines() {
  static const std::vector<std::string> lines = {"Subject: song",
                                                 "MIME-Version: 1.0",
                                                 "Content-Type: multipart/mixed",
                                                 "X-Priority: 3",
                                                 "",
                                                 "This is a multi-part message in MIME format.",
                                                 "",
                                                 "------=_Part_0001",
                                                 "Content-Type: text/plain",
                                                 "",
                                                 "Here it is.",
                                                 "",
                                                 "------=_Part_0001",
                                                 "Content-Type: audio/mid;",
                                                 "Content-Disposition: attachment",
                                                 "Content-Transfer-Encoding: base64",
                                                 "",
                                                 "TVRoZA==",
                                                 "",
                                                 "------=_Part_0001--"};
  return lines;
}

// Joins lines with CR LF, as mailers end them.
inline std::string Mail(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A host that answers the save dialog from a script (nullopt cancels; an empty script
// cancels every further dialog) and records what the core asked and showed.
class TScriptedExtractor : public TMailExtractor {
 public:
  TScriptedExtractor() {
    MailLines = std::make_unique<TStringList>();
    AttachmentLines = std::make_unique<TStringList>();
  }

  std::deque<std::optional<std::string>> Answers;
  int Dialogs = 0;
  std::vector<std::string> StatusTexts;

 protected:
  bool AskOutputFile(AnsiString& fileName) override {
    ++Dialogs;
    if (Answers.empty()) return false;
    std::optional<std::string> answer = Answers.front();
    Answers.pop_front();
    if (!answer) return false;
    fileName = *answer;
    return true;
  }
  void ShowStatusText(const AnsiString& text) override { StatusTexts.push_back(text); }
};

inline std::vector<std::string> Entries(const TStringList& list) {
  std::vector<std::string> entries;
  for (std::size_t i = 0; i < list.Count(); ++i) entries.emplace_back(list[i]);
  return entries;
}

// A plain Base64 encoder, written apart from the decoder under test.
inline std::string EncodeBase64(const std::string& bytes) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    text += alphabet[(group >> 18) & 63];
    text += alphabet[(group >> 12) & 63];
    text += i + 1 < bytes.size() ? alphabet[(group >> 6) & 63] : '=';
    text += i + 2 < bytes.size() ? alphabet[group & 63] : '=';
  }
  return text;
}

inline std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < text.size(); i += width) lines.push_back(text.substr(i, width));
  return lines;
}

}  // namespace tonbrix_test
