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
  for (const auto& [input, result] : {
           std::pair{"01:02:03,456", "3723456"}, {"3723456", "01:02:03,456"}, {"0", ""}, {"abc", ""},
           {" \t+12abc", "00:00:00,012"},           // blanks, a sign; reading stops at a non-digit
           {"00:00:01,5", "1005"},                  // clock fields are counts, not fractions
           {"12:", "43200000"},                     // the scan stops, later fields 0
           {"99999999999", "596:31:23,647"}}) {     // past the 32-bit range: its largest value
    EXPECT_EQ(ConvertTimeText(input), result) << input;
  }
}

TEST(FrameRateCheck, DecimalNumberFromTenToFifty) {
  for (const char* refused : {"9.99", "50.01", "25fps", "", ".", "+25", " 25", "2e1"})
    EXPECT_FALSE(IsAcceptedFrameRate(refused)) << '"' << refused << '"';
  for (const char* accepted : {"10", "50", "10.", "050.000", "23.976"}) EXPECT_TRUE(IsAcceptedFrameRate(accepted));
  EXPECT_TRUE(IsAcceptedFrameRate(kInitialFrameRate));  // a disabled list passes the check
}

TEST(ReportWindow, CopyAndSaveWithTheirMessages) {
  const std::string report = "Line 3: \xBF\xC0\xB7\xF9\r\nLine 9\r\n";
  MemoryDialogs dialogs;
  test::TempDir dir;
  CopyReportToClipboard(dialogs, report);
  EXPECT_EQ(dialogs.clipboard(), report);
  const std::string path = dir.File("report.txt");
  test::WriteFile(path, "an older and longer report that the save must empty");
  dialogs.QueuePath(path);
  SaveReportToFile(dialogs, report);
  EXPECT_EQ(test::ReadFile(path), report);  // the older, longer one is gone
  dialogs.QueuePath(dir.File("missing/report.txt"));
  SaveReportToFile(dialogs, report);
  dialogs.QueuePath(std::nullopt);  // cancelled: nothing written, nothing said
  SaveReportToFile(dialogs, report);

  const std::string copied = "\xC0\xFC\xC3\xBC \xB3\xBB\xBF\xEB\xC0\xCC \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xB7\xCE "
                             "\xBA\xB9\xBB\xE7 \xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.  ";  // 전체 내용이 클립보드로 복사 되었습니다.
  const std::string saved = "\xC0\xFA\xC0\xE5 \xBF\xCF\xB7\xE1!      ";                 // 저장 완료!
  const std::string failed = "\xB1\xE2\xB7\xCF\xC0\xBB \xC0\xA7\xC7\xD8\xBC\xAD \xC8\xAD\xC0\xCF\xC0\xBB "
                             "\xBF\xA9\xB4\xC2\xB5\xA5 \xBD\xC7\xC6\xD0\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";  // 기록을 위해서 ...
  EXPECT_EQ(dialogs.messages(), (std::vector<ShownMessage>{{copied, "Cadenzio"}, {saved, "Cadenzio"},
                                                          {failed, "Cadenzio", MessageIcon::Error}}));
  EXPECT_TRUE(dialogs.file_dialogs().at(0).save && dialogs.file_dialogs()[0].confirm_overwrite);
  EXPECT_EQ(dialogs.file_dialogs()[0].filters, (std::vector<FileFilter>{{"\xC5\xD8\xBD\xBA\xC6\xAE \xC8\xAD\xC0\xCF(*.txt)",
                                                       "*.txt"}}));  // 텍스트 화일(*.txt)
}

// The window's test pins the range refusal and a good Apply; here the order
// of the checks, the all-or-nothing Apply and the header's line ends.
TEST(SettingsForm, ApplyRefusesTheFirstBadFieldAndSavesACompleteForm) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  Settings live = Settings::Defaults(false);
  live.header_template = "<SAMI>\n<BODY>\n";  // LF only, as a user's file may have it
  SettingsForm form = SettingsForm::FromSettings(live);
  form.field(SettingsField::kMaxInterval) = "1234";
  form.field(SettingsField::kMinInterval) = "garbage";
  form.field(SettingsField::kDelClear) = "1000";
  EXPECT_EQ(ApplySettingsForm(form, live, ini).value().field, SettingsField::kMinInterval);  // MIN is read first
  form.field(SettingsField::kMinInterval) = "300";
  EXPECT_EQ(ApplySettingsForm(form, live, ini).value().field, SettingsField::kDelClear);
  EXPECT_NE(live.max_interval, 1234u);  // not even the fields read before the bad one
  EXPECT_FALSE(FileExists(ini));
  form.field(SettingsField::kDelClear) = "0";
  form.field(SettingsField::kDelay) = " -5000";
  ASSERT_FALSE(ApplySettingsForm(form, live, ini));
  EXPECT_EQ(live.delay, -5000);
  EXPECT_EQ(ini::GetInt(ini, std::string(kSettingsSection), "MAX", -1), 1234);
  EXPECT_EQ(test::ReadFile(HeaderFilePath(ini)), "<SAMI>\n<BODY>\n");  // untouched: as it was
  form.header = "<SAMI>\n<HEAD>\n<BODY>\n";  // edited: CR LF, the line end Enter makes
  ASSERT_FALSE(ApplySettingsForm(form, live, ini));
  EXPECT_EQ(test::ReadFile(HeaderFilePath(ini)), "<SAMI>\r\n<HEAD>\r\n<BODY>\r\n");
}

}  // namespace
}  // namespace cadenzio
