// SPDX-License-Identifier: MIT
#include "MailScanner.h"

void GatherBody(const TStringList& mail, std::size_t bodyStart, TStringList& body) {
  body.Clear();
  std::size_t end = bodyStart;
  while (end < mail.Count() && !mail[end].empty() && !IsDelimiterLine(mail[end])) ++end;
  // The body's entries stand one after the other in the mail's list: take them over
  // without copying them.
  if (end > bodyStart) body.AssignRange(mail, bodyStart, end - bodyStart);
}
