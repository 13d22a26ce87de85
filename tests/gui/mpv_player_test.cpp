// The libmpv player playing the sample movie inside an Xvfb screen: the open
// and play states it reports, the position while it plays, seeking, and
// files it cannot play.
#include "platform/qt/mpv_player.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/gui_support.h"
#include "test_support.h"

namespace cadenzio {
namespace {

// Records the reports and checks that none arrives from inside a call.
class Recorder : public PlayerEvents {
 public:
  void OpenStateChanged(int old_state, int new_state) override {
    EXPECT_FALSE(inside_call) << "open state reported from inside a call";
    reports.push_back("open " + std::to_string(old_state) + ">" + std::to_string(new_state));
  }
  void PlayStateChanged(int old_state, int new_state) override {
    EXPECT_FALSE(inside_call) << "play state reported from inside a call";
    reports.push_back("play " + std::to_string(old_state) + ">" + std::to_string(new_state));
  }
  std::vector<std::string> reports;
  bool inside_call = false;
};

class MpvPlayerTest : public testing::Test {
 protected:
  MpvPlayerTest() : player_(nullptr, MpvPlayerOptions{"x11", false}) {
    player_.SetEvents(&recorder_);
    player_.setGeometry(0, 0, 320, 240);
    player_.show();
    test::WaitUntil([&] { return player_.isVisible(); });
  }

  template <typename Call>
  void Calling(Call call) {
    recorder_.inside_call = true;
    call();
    recorder_.inside_call = false;
  }

  bool WaitForOpenState(int state, int timeout_ms = 10000) {
    return test::WaitUntil([&] { return player_.OpenState() == state; }, timeout_ms);
  }

  // How many colours the screen shows where the player is (1 for black).
  int ColoursOnScreen(const std::string& shot_name) {
    const std::string path = test::TakeScreenshot(shot_name);
    if (path.empty()) return -1;
    const QImage shot(QString::fromStdString(path));
    const QRect area(player_.mapToGlobal(QPoint(0, 0)), player_.size());
    std::set<QRgb> colours;
    for (int y = area.top() + 4; y < area.bottom() - 4; y += 7)
      for (int x = area.left() + 4; x < area.right() - 4; x += 7) colours.insert(shot.pixel(x, y));
    return static_cast<int>(colours.size());
  }

  Recorder recorder_;
  MpvPlayer player_;
};

TEST_F(MpvPlayerTest, PlaysSeeksPausesAndResetsTheSampleMovie) {
  Calling([&] { player_.Open(test::SampleMovie()); });
  EXPECT_EQ(player_.OpenState(), kOpenStateClosed) << "the state changes when it is reported";
  ASSERT_TRUE(WaitForOpenState(kOpenStateOpen));
  ASSERT_TRUE(test::WaitUntil([&] { return player_.PlayState() == kPlayStatePlaying; }));
  EXPECT_EQ(recorder_.reports, (std::vector<std::string>{"open 0>5", "open 5>6", "play 8>2"}));
  EXPECT_NEAR(player_.Duration(), 8.0, 0.1);

  // The position advances in real time.
  ASSERT_TRUE(test::WaitUntil([&] { return player_.CurrentPosition() > 0.2; }));
  const double before = player_.CurrentPosition();
  test::ProcessEventsFor(1000);
  const double advanced = player_.CurrentPosition() - before;
  EXPECT_GT(advanced, 0.6);
  EXPECT_LT(advanced, 1.6);
  EXPECT_GT(ColoursOnScreen("mpv_playing.png"), 8) << "the test picture is on the screen";

  Calling([&] { player_.Pause(); });
  ASSERT_TRUE(test::WaitUntil([&] { return player_.PlayState() == kPlayStatePaused; }));
  Calling([&] { player_.SetCurrentPosition(2.0); });
  ASSERT_TRUE(test::WaitUntil([&] { return std::abs(player_.CurrentPosition() - 2.0) < 0.001; }));
  test::ProcessEventsFor(500);
  EXPECT_NEAR(player_.CurrentPosition(), 2.0, 0.001) << "paused, the position stays";

  Calling([&] { player_.Play(); });
  ASSERT_TRUE(test::WaitUntil([&] { return player_.PlayState() == kPlayStatePlaying; }));
  Calling([&] { player_.SetCurrentPosition(7.5); });
  // At the end the movie stays open on its last picture, paused.
  ASSERT_TRUE(test::WaitUntil([&] { return player_.PlayState() == kPlayStatePaused; }, 5000));
  EXPECT_EQ(player_.OpenState(), kOpenStateOpen);
  EXPECT_GT(player_.CurrentPosition(), 7.8);

  recorder_.reports.clear();
  Calling([&] { player_.Reset(); });
  ASSERT_TRUE(WaitForOpenState(kOpenStateClosed));
  test::ProcessEventsFor(300);
  EXPECT_EQ(recorder_.reports, (std::vector<std::string>{"open 6>0", "play 1>0"}));
  EXPECT_EQ(player_.CurrentPosition(), 0.0);
  EXPECT_EQ(player_.Duration(), 0.0);
  EXPECT_EQ(ColoursOnScreen("mpv_reset.png"), 1) << "an empty black area after the reset";

  recorder_.reports.clear();
  Calling([&] { player_.Reset(); });  // nothing is open: nothing happens
  test::ProcessEventsFor(200);
  EXPECT_TRUE(recorder_.reports.empty());
}

TEST_F(MpvPlayerTest, FilesItCannotPlayCloseAgainAndAnOpenMovieIsReplaced) {
  test::TempDir dir;
  test::WriteFile(dir.File("noise.mp4"), std::string(4096, '\x5A'));
  for (const std::string& path : {dir.File("missing.avi"), dir.File("noise.mp4")}) {
    SCOPED_TRACE(path);
    recorder_.reports.clear();
    Calling([&] { player_.Open(path); });
    ASSERT_TRUE(test::WaitUntil([&] { return recorder_.reports.size() >= 2; }));
    test::ProcessEventsFor(300);
    EXPECT_EQ(recorder_.reports, (std::vector<std::string>{"open 0>5", "open 5>0"}));
    EXPECT_EQ(player_.OpenState(), kOpenStateClosed);
  }

  recorder_.reports.clear();
  Calling([&] { player_.Open(test::SampleMovie()); });
  ASSERT_TRUE(WaitForOpenState(kOpenStateOpen));
  Calling([&] { player_.Pause(); });
  ASSERT_TRUE(test::WaitUntil([&] { return player_.PlayState() == kPlayStatePaused; }));
  // Opening another movie over it: no closed state in between, and it plays.
  recorder_.reports.clear();
  Calling([&] { player_.Open(test::SampleMovie()); });
  ASSERT_TRUE(test::WaitUntil([&] { return player_.PlayState() == kPlayStatePlaying; }));
  EXPECT_EQ(recorder_.reports,
            (std::vector<std::string>{"open 6>5", "play 1>0", "open 5>6", "play 0>2"}));
  // The player is destroyed while it plays.
}

}  // namespace
}  // namespace cadenzio
