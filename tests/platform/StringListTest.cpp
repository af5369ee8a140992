// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "Classes.h"
#include "TestSupport.h"

using tonbrix_test::Entries;

TEST(StringList, KeepsOrderDuplicatesAndEmptyEntries) {
  TStringList list;
  for (const char* entry : {"b", "", "a", "b", ""}) list.Add(entry);
  EXPECT_EQ(Entries(list), (std::vector<std::string>{"b", "", "a", "b", ""}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  list.Add("x");
  EXPECT_EQ(Entries(list), std::vector<std::string>{"x"});
}

TEST(StringList, TextEndsEveryEntryWithCrLf) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("TVRo");
  list.Add("");
  list.Add("ZA==");
  EXPECT_EQ(list.Text(), "TVRo\r\n\r\nZA==\r\n");
  EXPECT_EQ(list.Chars(), "TVRoZA==");
}

// A list that took over a run of another's entries reads them, and either list can then be
// changed without the other seeing it.
TEST(StringList, RangesAreSharedUntilEitherListChanges) {
  TStringList mail;
  for (const char* entry : {"head", "", "QUJD", "RA==", "", "tail"}) mail.Add(entry);
  TStringList body;
  body.Add("old");
  body.AssignRange(mail, 2, 2);
  EXPECT_EQ(Entries(body), (std::vector<std::string>{"QUJD", "RA=="}));
  EXPECT_EQ(body.Chars(), "QUJDRA==");
  EXPECT_EQ(body.Text(), "QUJD\r\nRA==\r\n");
  body.Add("more");
  mail.Add("after");
  EXPECT_EQ(Entries(body), (std::vector<std::string>{"QUJD", "RA==", "more"}));
  EXPECT_EQ(mail.Count(), 7u);
  EXPECT_EQ(mail[6], "after");
  body.AssignRange(mail, 0, 1);
  mail.Clear();
  mail.Add("new mail");
  EXPECT_EQ(Entries(body), std::vector<std::string>{"head"});
  EXPECT_EQ(Entries(mail), std::vector<std::string>{"new mail"});
  body.Clear();
  EXPECT_EQ(body.Chars(), "");
}
