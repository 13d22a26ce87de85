// Settings: defaults, loading, saving beside foreign keys, header, dialog ranges, folder.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
  return std::make_tuple(s.min_interval, s.max_interval, s.delay, s.check_br, s.add_del, s.ting,
                         s.del_clear, s.insert_nl);
}

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
           Case{"", {500u, 8000u, -500, false, 200, true, 0, false}},
           Case{"[Cadenzio]\nMIN=100\nMAX=200\nDELAY=300\nCHECKBR=1\nADD_DEL=50\nTING=0\n"
                "DELCLEAR=90\nINSERTNL=1\n",
                {100u, 200u, 300, true, 50, false, 90, true}},
           // Read as written, out of the dialog's ranges or not.
           Case{"[cadenzio]\nmin=-1\nDELAY=abc\nTING=2\nDELCLEAR=1000\nADD_DEL=\nCHECKBR=1x\n"
                "MAX=12abc\n[Other]\nINSERTNL=1\n",
                {4294967295u, 12u, 0, true, 200, true, 1000, false}},
       }) {
    WriteFile(ini, c.text);
    EXPECT_EQ(Numbers(Settings::Load(ini)), c.expected) << c.text;
  }
}

TEST(Settings, HeaderTemplateFileIsReadRaw) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini"), hdr = dir.File("Cadenzio.hdr");
  WriteFile(hdr, "");
  EXPECT_EQ(Settings::Load(ini).header_template, "");  // empty file, not the built-in one
  WriteFile(hdr, "<SAMI>\n\r\n\xB0\xA1");
  EXPECT_EQ(Settings::Load(ini).header_template, "<SAMI>\n\r\n\xB0\xA1");
  WriteFile(hdr, std::string("a\r\n\0b", 5));
  EXPECT_EQ(Settings::Load(ini).header_template, "a\r\n");  // text ends at a NUL
  // Beside a settings file of another name too, and never that file itself.
  EXPECT_EQ(HeaderFilePath(dir.File("other.ini")), hdr);
  EXPECT_EQ(Settings::Load(dir.File("other.ini")).header_template, "a\r\n");
}

TEST(Settings, SaveWritesTheEightKeysAndKeepsEverythingElse) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini"), hdr = dir.File("Cadenzio.hdr");
  WriteFile(ini,
            "; keys\n[Other]\nMIN=1\n[Cadenzio]\nREMAP_HOTKEY=1\nmin = 5\nCTRL_8=1000\n"
            "TING=0\n\n[Tail]\nX=1");
  Settings s = Settings::Load(ini);
  s.min_interval = 4294967295u;  // written "%d", so it reads back the same
  s.max_interval = 7000, s.delay = -300, s.check_br = true, s.add_del = 100;
  s.ting = true, s.del_clear = 30, s.insert_nl = false;
  EXPECT_TRUE(s.Save(ini));
  EXPECT_EQ(ReadFile(ini),
            "; keys\n[Other]\nMIN=1\n[Cadenzio]\nREMAP_HOTKEY=1\nmin=-1\nCTRL_8=1000\n"
            "TING=1\nMAX=7000\r\nDELAY=-300\r\nADD_DEL=100\r\nCHECKBR=1\r\nDELCLEAR=30\r\n"
            "INSERTNL=0\r\n\n[Tail]\nX=1");
  EXPECT_EQ(Numbers(Settings::Load(ini)), Numbers(s));
  EXPECT_FALSE(fs::exists(hdr));  // the built-in template makes no file

  // A new file in a missing folder; the header as typed, line ends included.
  const std::string fresh = dir.File("new/cfg/Cadenzio.ini");
  Settings d = Settings::Defaults(false);
  d.header_template = "<SAMI>\n<BODY>\r\n";
  EXPECT_TRUE(d.Save(fresh));
  EXPECT_EQ(ReadFile(fresh),
            "[Cadenzio]\r\nMIN=800\r\nMAX=8000\r\nDELAY=-500\r\nADD_DEL=200\r\nCHECKBR=0\r\n"
            "TING=1\r\nDELCLEAR=0\r\nINSERTNL=1\r\n");
  EXPECT_EQ(ReadFile(dir.File("new/cfg/Cadenzio.hdr")), "<SAMI>\n<BODY>\r\n");
  EXPECT_EQ(Settings::Load(fresh).header_template, d.header_template);

  // An existing header file is replaced even by the built-in template.
  d.header_template = BuiltInHeader();
  EXPECT_TRUE(d.Save(fresh));
  EXPECT_EQ(ReadFile(dir.File("new/cfg/Cadenzio.hdr")), BuiltInHeader());
  fs::create_directory(dir.File("busy.ini"));
  WriteFile(dir.File("busy.ini/x"), "");
  EXPECT_FALSE(d.Save(dir.File("busy.ini")));
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
  for (const Case& c : {
           Case{F::kMinInterval, " 99999999 ", 99999999, ""},
           Case{F::kMinInterval, "100000000", 0, range("0", "99999999")},
           Case{F::kMaxInterval, "99999999999999999999999", 0, range("0", "99999999")},
           Case{F::kMaxInterval, "-1", 0, positive},
           Case{F::kDelay, "-5000", -5000, ""},
           Case{F::kDelay, "5001", 0, range("-5000", "5000")},
           Case{F::kDelay, "", 0, integer},
           Case{F::kDelay, "12a", 0, integer},
           Case{F::kAddDel, "-1", 0, range("0", "10000")},
           Case{F::kDelClear, "999", 999, ""},
           Case{F::kDelClear, "1000", 0, range("0", "999")},
       }) {
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
  s.del_clear = 1000, s.delay = -5001;
  ASSERT_TRUE(ValidateSettings(s));
  EXPECT_EQ(ValidateSettings(s)->field, F::kDelay);  // the order Apply copies them in
  s.delay = 0;
  ASSERT_TRUE(ValidateSettings(s));
  EXPECT_EQ(ValidateSettings(s)->message, range("0", "999"));
}

// Sets an environment variable (nullptr: unsets) for the test's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(Settings, FolderFollowsXdgUnlessBesideTheProgram) {
  if (fs::exists(fs::read_symlink("/proc/self/exe").parent_path() / "Cadenzio.ini"))
    GTEST_SKIP() << "a Cadenzio.ini beside the test program makes that the folder";
  test::TempDir dir;
  const std::string xdg = dir.File("xdg");
  ScopedEnv home("HOME", "/h"), config("XDG_CONFIG_HOME", xdg.c_str());
  EXPECT_EQ(ProgramFolder(), xdg + "/cadenzio/");
  EXPECT_EQ(LogFilePath(), xdg + "/cadenzio/Cadenzio.log");
  EXPECT_TRUE(Settings::Defaults(false).Save(SettingsFilePath()));  // makes the folder
  EXPECT_TRUE(fs::is_regular_file(xdg + "/cadenzio/Cadenzio.ini"));
  for (const char* value : {"", "relative/path", static_cast<const char*>(nullptr)}) {
    ScopedEnv other("XDG_CONFIG_HOME", value);
    EXPECT_EQ(ProgramFolder(), "/h/.config/cadenzio/") << (value ? value : "unset");
  }
  ScopedEnv no_home("HOME", nullptr), no_config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(SettingsFilePath(), "./cadenzio/Cadenzio.ini");
}

}  // namespace
}  // namespace cadenzio
