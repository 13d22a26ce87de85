// The decisions of the small windows: time conversion, the frame-rate check,
// the report window's buttons and the settings dialog's Apply.
#include <gtest/gtest.h>

#include <utility>

#include "app/frame_rate_check.h"
#include "app/report_window.h"
#include "app/settings_form.h"
#include "app/time_convert.h"
#include "platform/memory_dialogs.h"
#include "settings/file_services.h"
#include "settings/ini_file.h"
#include "test_support.h"

namespace cadenzio {
namespace {

TEST(TimeConvert, ClockTextAndMillisecondsBothWays) {
  struct Case { const char* input; const char* result; };
  for (const Case& c : {
           Case{"01:02:03,456", "3723456"},
           Case{"3723456", "01:02:03,456"},
           Case{"0", ""},
           Case{"-5", ""},
           Case{"12abc", "00:00:00,012"},     // reading stops at the first non-digit
           Case{" \t+1500", "00:00:01,500"},  // leading blanks and a sign
           Case{"abc", ""},
           Case{"00:00:01,5", "1005"},        // clock fields are counts, not fractions
           Case{"12:", "43200000"},           // the scan stops, later fields 0
           Case{"99999999999", "596:31:23,647"},  // past the 32-bit range: its largest value
       }) {
    EXPECT_EQ(ConvertTimeText(c.input), c.result) << c.input;
  }
}

TEST(FrameRateCheck, DecimalNumberFromTenToFifty) {
  for (const char* refused : {"9.99", "50.01", "25fps", "", ".", "1.2.3", "+25", " 25", "25 ",
                              "-25", "2e1", "0x19", "50.0000001"})
    EXPECT_FALSE(IsAcceptedFrameRate(refused)) << '"' << refused << '"';
  for (const char* accepted : {"10", "50", "29.970", "10.", "050.000", "23.976"})
    EXPECT_TRUE(IsAcceptedFrameRate(accepted)) << accepted;
  for (std::string_view choice : kFrameRateChoices) EXPECT_TRUE(IsAcceptedFrameRate(choice));
  EXPECT_TRUE(IsAcceptedFrameRate(kInitialFrameRate));  // a disabled list passes the check
}

TEST(ReportWindow, CopyAndSaveWithTheirMessages) {
  const std::string copied =
      "\xC0\xFC\xC3\xBC \xB3\xBB\xBF\xEB\xC0\xCC \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xB7\xCE "
      "\xBA\xB9\xBB\xE7 \xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.  ";  // 전체 내용이 클립보드로 복사 되었습니다.
  const std::string saved = "\xC0\xFA\xC0\xE5 \xBF\xCF\xB7\xE1!      ";  // 저장 완료!
  const std::string failed =
      "\xB1\xE2\xB7\xCF\xC0\xBB \xC0\xA7\xC7\xD8\xBC\xAD \xC8\xAD\xC0\xCF\xC0\xBB "
      "\xBF\xA9\xB4\xC2\xB5\xA5 \xBD\xC7\xC6\xD0\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";  // 기록을 위해서 ...
  const std::string report = "Line 3: \xBF\xC0\xB7\xF9\r\nLine 9\r\n";

  MemoryDialogs dialogs;
  CopyReportToClipboard(dialogs, report);
  EXPECT_EQ(dialogs.clipboard(), report);

  test::TempDir dir;
  const std::string path = dir.File("report.txt");
  test::WriteFile(path, "an older and longer report that the save must empty");
  dialogs.QueuePath(path);
  SaveReportToFile(dialogs, report);
  EXPECT_EQ(test::ReadFile(path), report);
  dialogs.QueuePath(dir.File("missing/report.txt"));
  SaveReportToFile(dialogs, report);
  EXPECT_FALSE(FileExists(dir.File("missing/report.txt")));
  dialogs.QueuePath(std::nullopt);  // cancelled: nothing written, nothing said
  SaveReportToFile(dialogs, report);

  EXPECT_EQ(dialogs.messages(), (std::vector<ShownMessage>{{copied, "Cadenzio"}, {saved, "Cadenzio"},
                                                          {failed, "Cadenzio", MessageIcon::Error}}));
  ASSERT_EQ(dialogs.file_dialogs().size(), 3u);
  const FileDialogRequest& request = dialogs.file_dialogs()[0];
  EXPECT_TRUE(request.save && request.confirm_overwrite);
  EXPECT_EQ(request.default_extension + request.initial_path, "");
  EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"\xC5\xD8\xBD\xBA\xC6\xAE \xC8\xAD\xC0\xCF(*.txt)",
                                                       "*.txt"}}));  // 텍스트 화일(*.txt)
}

TEST(SettingsForm, ApplyRefusesTheFirstBadFieldAndSavesACompleteForm) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  Settings live = Settings::Defaults(false);
  live.header_template = "<SAMI>\n<BODY>\n";  // LF only, as a user's file may have it
  const Settings before = live;
  SettingsForm form = SettingsForm::FromSettings(live);
  EXPECT_EQ(form.field(SettingsField::kMinInterval), "800");
  EXPECT_EQ(form.field(SettingsField::kDelay), "-500");
  EXPECT_TRUE(form.insert_nl);

  // Garbage in MIN and an out-of-range DELCLEAR: MIN is read first. (The
  // refusal texts are the settings fields' own.)
  form.field(SettingsField::kMaxInterval) = "1234";
  form.field(SettingsField::kMinInterval) = "garbage";
  form.field(SettingsField::kDelClear) = "1000";
  EXPECT_EQ(ApplySettingsForm(form, live, ini).value().field, SettingsField::kMinInterval);
  form.field(SettingsField::kMinInterval) = "300";
  EXPECT_EQ(ApplySettingsForm(form, live, ini).value().field, SettingsField::kDelClear);
  // A refused Apply changes nothing, not even the fields read before the bad one.
  EXPECT_EQ(live.min_interval, before.min_interval);
  EXPECT_EQ(live.max_interval, before.max_interval);
  EXPECT_FALSE(FileExists(ini));

  // DELCLEAR 0 passes although its label says 1-999; the untouched header
  // keeps its LF line ends.
  form.field(SettingsField::kDelClear) = "0";
  form.field(SettingsField::kDelay) = " -5000";
  form.ting = false;
  form.check_br = true;
  ASSERT_FALSE(ApplySettingsForm(form, live, ini));
  EXPECT_EQ(live.min_interval, 300u);
  EXPECT_EQ(live.delay, -5000);
  EXPECT_TRUE(live.check_br && !live.ting);
  EXPECT_EQ(live.header_template, "<SAMI>\n<BODY>\n");
  for (const auto& [key, value] : {std::pair{"MIN", 300}, {"MAX", 1234}, {"DELAY", -5000}, {"TING", 0},
                                    {"CHECKBR", 1}, {"DELCLEAR", 0}})
    EXPECT_EQ(ini::GetInt(ini, std::string(kSettingsSection), key, -1), value) << key;
  EXPECT_EQ(test::ReadFile(HeaderFilePath(ini)), "<SAMI>\n<BODY>\n");

  // An edited header is written with CR LF, the line end Enter makes.
  form.header = "<SAMI>\n<HEAD>\n<BODY>\n";
  ASSERT_FALSE(ApplySettingsForm(form, live, ini));
  EXPECT_EQ(test::ReadFile(HeaderFilePath(ini)), "<SAMI>\r\n<HEAD>\r\n<BODY>\r\n");
  EXPECT_EQ(SettingsForm::FromSettings(live).header, "<SAMI>\n<HEAD>\n<BODY>\n");
}

}  // namespace
}  // namespace cadenzio
