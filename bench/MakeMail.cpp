// SPDX-License-Identifier: MIT
// Writes a test mail the way a common desktop mailer does (multipart/mixed, a text part,
// one attachment in 76-character Base64 lines with CR LF), and the attachment's bytes
// beside it, from a deterministic payload:
//   tonbrix-make-mail MAIL PAYLOAD MIB            an attachment of MIB mebibytes
//   tonbrix-make-mail MAIL PAYLOAD --lines COUNT  COUNT short text lines, a small attachment
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

std::string Payload(std::size_t size) {
  std::string bytes = "MThd";
  bytes.reserve(size);
  std::uint64_t state = 0x9E3779B97F4A7C15ULL;
  while (bytes.size() < size) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    bytes.push_back(static_cast<char>(state >> 24));
  }
  bytes.resize(size);
  return bytes;
}

void WriteBase64Lines(std::ostream& out, const std::string& bytes) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    line += alphabet[(group >> 18) & 63];
    line += alphabet[(group >> 12) & 63];
    line += i + 1 < bytes.size() ? alphabet[(group >> 6) & 63] : '=';
    line += i + 2 < bytes.size() ? alphabet[group & 63] : '=';
    if (line.size() == 76) {
      out << line << "\r\n";
      line.clear();
    }
  }
  if (!line.empty()) out << line << "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  const bool lines = argc == 5 && std::strcmp(argv[3], "--lines") == 0;
  if (argc != 4 && !lines) {
    std::cerr << "usage: tonbrix-make-mail MAIL PAYLOAD MIB | MAIL PAYLOAD --lines COUNT\n";
    return 2;
  }
  const std::size_t count = std::strtoull(argv[lines ? 4 : 3], nullptr, 10);
  const std::string payload = Payload(lines ? 4096 : count << 20);
  std::ofstream(argv[2], std::ios::binary) << payload;
  std::ofstream mail(argv[1], std::ios::binary);
  const char* boundary = "----=_NextPart_000_0001_01DA2C3B.5F1E8A90";
  mail << "From: \"Aiko\" <aiko@example.org>\r\nTo: <ben@example.org>\r\n"
          "Subject: the song\r\nDate: Fri, 11 Dec 2026 10:00:00 +0900\r\nMIME-Version: 1.0\r\n"
          "Content-Type: multipart/mixed;\r\n\tboundary=\""
       << boundary << "\"\r\nX-Mailer: Microsoft Outlook 16.0\r\n\r\n"
       << "This is a multipart message in MIME format.\r\n\r\n--" << boundary << "\r\n"
       << "Content-Type: text/plain;\r\n\tcharset=\"us-ascii\"\r\nContent-Transfer-Encoding: "
          "7bit\r\n\r\n";
  if (lines) {
    for (std::size_t i = 0; i < count; ++i) mail << "line " << i << " of the letter\r\n";
  } else {
    mail << "Here is the song.\r\n";
  }
  mail
      << "\r\n--" << boundary << "\r\n"
      << "Content-Type: audio/mid;\r\n\tname=\"bench.mid\"\r\nContent-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment;\r\n\tfilename=\"bench.mid\"\r\n\r\n";
  WriteBase64Lines(mail, payload);
  mail << "\r\n--" << boundary << "--\r\n";
  return mail ? 0 : 1;
}
