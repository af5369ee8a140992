// SPDX-License-Identifier: MIT
// A differential check against an independent encoder: random bytes encoded by OpenSSL and
// wrapped at 76 columns with CR LF, as mailers send them, come back exactly.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>

#include "MailExtractor.h"
#include "MailReader.h"
#include "TestSupport.h"

namespace {

std::string OpenSslBase64(const std::string& bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                     reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

TEST(Base64OpenSsl, WrappedTextFromAnotherEncoderComesBackExactly) {
  std::mt19937_64 random(2026);
  for (int round = 0; round < 300; ++round) {
    std::string payload(random() % (round < 200 ? 300 : 200000), '\0');
    for (char& c : payload) c = static_cast<char>(random());
    std::string mail;
    for (const std::string& line : tonbrix_test::Wrap(OpenSslBase64(payload), 76)) {
      mail += line + "\r\n";
    }
    // Through the reading rules too, as a body in a mail is read.
    TStringList lines;
    TMailLineReader reader(lines);
    reader.Feed(mail);
    reader.Finish();
    std::string decoded;
    DecodeLines(lines,
                [&decoded](const char* bytes, std::size_t count) { decoded.append(bytes, count); });
    ASSERT_EQ(decoded, payload) << "payload of " << payload.size() << " bytes, round " << round;
  }
}
