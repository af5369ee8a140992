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
