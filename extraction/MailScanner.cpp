// SPDX-License-Identifier: MIT
#include "MailScanner.h"

void GatherBody(const TStringList& mail, std::size_t bodyStart, TStringList& body) {
  body.Clear();
  for (std::size_t i = bodyStart; i < mail.Count(); ++i) {
    std::string_view entry = mail[i];
    if (entry.empty() || IsDelimiterLine(entry)) break;
    body.Add(entry);
  }
}
