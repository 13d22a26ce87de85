// INI reading and in-place rewriting like the private-profile functions.
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <array>

#include "test_support.h"

namespace cadenzio::ini {
namespace {

using test::ReadFile;
using test::WriteFile;

TEST(IniFile, ReadsLikeTheProfileFunctions) {
  struct Case { const char *text, *section, *key, *value; int32_t number; };
  constexpr int32_t kNone = 77;  // the fallback: key missing or empty
  for (const Case& c : {
           Case{"[cadenzio]\n  min = 42 \n", "Cadenzio", "MIN", "42", 42},
           Case{"[S]\nK=\"12\"\n", "S", "K", "12", 12},
           Case{"[S]\nK='x\"\n", "S", "K", "'x\"", 0},
           Case{"[S]\nK=12abc\n", "S", "K", "12abc", 12},
           Case{"[S]\nK=4294967796\n", "S", "K", "4294967796", 500},
           Case{"[S]\nK=\n", "S", "K", "", kNone},
           Case{"K=1\n[S]\n", "S", "K", nullptr, kNone},
           Case{"[S]\nK=1\nK=2\n[S]\nK=3", "S", "K", "1", 1},
           Case{"[S]\nJ=1\n[s]\nK=3\n", "S", "K", nullptr, kNone},
           Case{"[S]\r;K=1\rK 2\rK=9\r", "S", "K", "9", 9},
       }) {
    const IniText ini(c.text);
    const std::optional<std::string> value = ini.Find(c.section, c.key);
    EXPECT_EQ(value.has_value(), c.value != nullptr) << c.text;
    if (value && c.value) EXPECT_EQ(*value, c.value) << c.text;
    EXPECT_EQ(ini.GetInt(c.section, c.key, kNone), c.number) << c.text;
  }
}

TEST(IniFile, SetChangesOnlyTheKeyLine) {
  struct Case { const char *before, *section, *key, *value, *after; };
  for (const Case& c : {
           Case{"", "S", "K", "1", "[S]\r\nK=1\r\n"},
           Case{"; top\n[S]\nA=1\nK=old ; x\n\n[T]\nK=5\n", "S", "K", "7",
                "; top\n[S]\nA=1\nK=7\n\n[T]\nK=5\n"},
           Case{"[S]\nA=1\n\n[T]\n", "S", "K", "2", "[S]\nA=1\nK=2\r\n\n[T]\n"},
           Case{"[A]\nX=1", "S", "K", "1", "[A]\nX=1\r\n[S]\r\nK=1\r\n"},
       }) {
    IniText ini(c.before);
    EXPECT_TRUE(ini.Set(c.section, c.key, c.value)) << c.before;
    EXPECT_EQ(ini.text(), c.after) << c.before;
    EXPECT_EQ(ini.GetString(c.section, c.key, "-"), c.value) << c.before;
  }
  IniText ini("[S]\nK=1\n");
  for (auto [section, key, value] : {std::array<const char*, 3>{"S", "K=", "1"}, {"S", "K", "1\r2"},
                                     {"S]", "K", "1"}})
    EXPECT_FALSE(ini.Set(section, key, value)) << section << key << value;
  EXPECT_EQ(ini.text(), "[S]\nK=1\n");
}

TEST(IniFile, FileCallsWriteAtomicallyOrNotAtAll) {
  test::TempDir dir;
  const std::string file = dir.File("a.ini");
  EXPECT_EQ(GetInt(file, "S", "K", 3), 3);
  EXPECT_TRUE(WriteString(file, "S", "K", "12"));
  EXPECT_TRUE(WriteStrings(file, "T", {{"A", "1"}, {"B", "x"}}));
  EXPECT_EQ(ReadFile(file), "[S]\r\nK=12\r\n[T]\r\nA=1\r\nB=x\r\n");
  EXPECT_EQ(GetString(file, "t", "b", ""), "x");
  // A refused key among several leaves the file as it was.
  EXPECT_FALSE(WriteStrings(file, "S", {{"K", "99"}, {"A=B", "1"}}));
  EXPECT_EQ(GetInt(file, "S", "K", 0), 12);
  EXPECT_FALSE(WriteString(dir.File("no/such.ini"), "S", "K", "1"));
}

}  // namespace
}  // namespace cadenzio::ini
