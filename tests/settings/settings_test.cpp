// Settings: defaults, loading, saving beside foreign keys, header, dialog ranges, folder.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "test_support.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

auto Numbers(const Settings& s) {
  return std::make_tuple(s.min_interval, s.max_interval, s.delay, s.check_br, s.add_del, s.ting, s.del_clear,
                         s.insert_nl);
}

// No file: the first-run set; a file: each missing key from the second set (MIN 500, INSERTNL 0).
TEST(Settings, LoadTakesEachMissingValueFromItsDefaultSet) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  const Settings none = Settings::Load(ini);
  EXPECT_EQ(Numbers(none), std::make_tuple(800u, 8000u, -500, false, 200, true, 0, true));
  EXPECT_EQ(none.header_template, BuiltInHeader());
  EXPECT_FALSE(fs::exists(ini));  // loading writes nothing
  struct Case { const char* text; decltype(Numbers(none)) expected; };
  for (const Case& c : {
           Case{"[Cadenzio]\r\nMAX=9000\r\n", {500u, 9000u, -500, false, 200, true, 0, false}},
           Case{"[Cadenzio]\nMIN=100\nMAX=200\nDELAY=300\nCHECKBR=1\nADD_DEL=50\nTING=0\nDELCLEAR=90\n"
                "INSERTNL=1\n",
                {100u, 200u, 300, true, 50, false, 90, true}},
           // Read as written, out of the dialog's ranges or not.
           Case{"[cadenzio]\nmin=-1\nDELAY=abc\nTING=2\nDELCLEAR=1000\nADD_DEL=\nCHECKBR=1x\nMAX=12abc\n"
                "[Other]\nINSERTNL=1\n",
                {4294967295u, 12u, 0, true, 200, true, 1000, false}}}) {
    WriteFile(ini, c.text);
    EXPECT_EQ(Numbers(Settings::Load(ini)), c.expected) << c.text;
  }
}

TEST(Settings, SaveWritesTheEightKeysAndKeepsEverythingElse) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  WriteFile(ini, "; keys\n[Other]\nMIN=1\n[Cadenzio]\nREMAP_HOTKEY=1\nmin = 5\nCTRL_8=1000\nTING=0\n\n[Tail]\nX=1");
  Settings s = Settings::Load(ini);
  s.min_interval = 4294967295u;  // written "%d", so it reads back the same
  s.max_interval = 7000, s.delay = -300, s.check_br = true, s.add_del = 100, s.ting = true, s.del_clear = 30;
  s.insert_nl = false;
  EXPECT_TRUE(s.Save(ini));
  EXPECT_EQ(ReadFile(ini), "; keys\n[Other]\nMIN=1\n[Cadenzio]\nREMAP_HOTKEY=1\nmin=-1\nCTRL_8=1000\nTING=1\nMAX=7000\r\n"
                           "DELAY=-300\r\nADD_DEL=100\r\nCHECKBR=1\r\nDELCLEAR=30\r\nINSERTNL=0\r\n\n[Tail]\nX=1");
  EXPECT_EQ(Numbers(Settings::Load(ini)), Numbers(s));
  EXPECT_FALSE(fs::exists(dir.File("Cadenzio.hdr")));  // the built-in template makes no file

  // A new file in a missing folder; the header as typed; later even the built-in one replaces it.
  const std::string fresh = dir.File("new/cfg/Cadenzio.ini"), hdr = dir.File("new/cfg/Cadenzio.hdr");
  Settings d = Settings::Defaults(false);
  d.header_template = "<SAMI>\n<BODY>\r\n";
  EXPECT_TRUE(d.Save(fresh));
  EXPECT_EQ(ReadFile(fresh), "[Cadenzio]\r\nMIN=800\r\nMAX=8000\r\nDELAY=-500\r\nADD_DEL=200\r\nCHECKBR=0\r\n"
                             "TING=1\r\nDELCLEAR=0\r\nINSERTNL=1\r\n");
  EXPECT_EQ(ReadFile(hdr), "<SAMI>\n<BODY>\r\n");
  d.header_template = BuiltInHeader();
  EXPECT_TRUE(d.Save(fresh));
  EXPECT_EQ(ReadFile(hdr), BuiltInHeader());
  // The header file beside a settings file of any name is read as it is, up to a NUL; empty stays empty.
  EXPECT_EQ(HeaderFilePath(dir.File("new/cfg/other.ini")), hdr);
  for (const auto& [file, header] : {std::pair<std::string, std::string>{"", ""},
                                     {std::string("<SAMI>\n\r\n\xB0\xA1\0b", 11), "<SAMI>\n\r\n\xB0\xA1"}}) {
    WriteFile(hdr, file);
    EXPECT_EQ(Settings::Load(fresh).header_template, header);
  }
}

TEST(Settings, BuiltInHeaderBytes) {
  const std::string& h = BuiltInHeader();
  ASSERT_EQ(h.size(), 692u);
  uint64_t fnv = 0xcbf29ce484222325u;  // FNV-1a of the expected 692 bytes
  for (unsigned char c : h) fnv = (fnv ^ c) * 0x100000001b3u;
  EXPECT_EQ(fnv, 0x8d248207d69aeb18u);
}

TEST(Settings, DialogFieldsTakeTheirRanges) {
  const std::string integer = "\xC1\xA4\xBC\xF6\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0.";
  const std::string positive = "\xBE\xE7\xC0\xC7 " + integer;   // 양의 정수를 입력하십시오.
  const auto range = [&](const char* lo, const char* hi) {      // %d에서 %d 사이의 ...
    return std::string(lo) + "\xBF\xA1\xBC\xAD " + hi + " \xBB\xE7\xC0\xCC\xC0\xC7 " + integer;
  };
  using F = SettingsField;
  struct Case { F field; const char* text; int64_t value; std::string refusal; };
  for (const Case& c : {Case{F::kMinInterval, " 99999999 ", 99999999, ""},
                        Case{F::kMinInterval, "100000000", 0, range("0", "99999999")},
                        Case{F::kMaxInterval, "99999999999999999999999", 0, range("0", "99999999")},
                        Case{F::kMaxInterval, "-1", 0, positive},
                        Case{F::kDelay, "-5000", -5000, ""},
                        Case{F::kDelay, "5001", 0, range("-5000", "5000")},
                        Case{F::kDelay, "12a", 0, integer},
                        Case{F::kDelClear, "1000", 0, range("0", "999")}}) {
    Settings s = Settings::Defaults(true);
    s.min_interval = s.max_interval = 4, s.delay = s.add_del = s.del_clear = 4;
    const std::optional<SettingsRefusal> refusal = ReadSettingsField(c.field, c.text, s);
    EXPECT_EQ(refusal ? refusal->message : "", c.refusal) << c.text;
    EXPECT_TRUE(!refusal || refusal->field == c.field);
    const int64_t now[] = {s.min_interval, s.max_interval, s.delay, s.add_del, s.del_clear};
    EXPECT_EQ(now[static_cast<int>(c.field)], refusal ? 4 : c.value) << c.text;
  }
  Settings s = Settings::Defaults(true);
  EXPECT_FALSE(ValidateSettings(s));
  s.del_clear = 1000;
  EXPECT_EQ(ValidateSettings(s).value_or(SettingsRefusal{}).message, range("0", "999"));
}

}  // namespace
}  // namespace cadenzio
