// Atomic whole-file writes, the log and the line reader.
#include "settings/file_services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <vector>

#include "test_support.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

// The new content replaces the target whole (permissions and links kept), or
// the target stays and no temporary file is left.
TEST(FileServices, AtomicWriteReplacesOrLeavesTargetAlone) {
  test::TempDir dir;
  const std::string file = dir.File("out.srt"), link = dir.File("link.srt"), busy = dir.File("busy");
  WriteFile(file, "old");
  chmod(file.c_str(), 0640);
  EXPECT_TRUE(WriteWholeFileAtomic(file, "new\r\n"));
  EXPECT_EQ(ReadFile(file), "new\r\n");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
  fs::create_symlink(file, link);
  EXPECT_TRUE(WriteWholeFileAtomic(link, ""));
  EXPECT_TRUE(fs::is_symlink(link) && ReadFile(file).empty());
  fs::create_directory(busy);  // the rename fails over a non-empty folder
  WriteFile(busy + "/inside", "x");
  EXPECT_FALSE(WriteWholeFileAtomic(busy, "text"));
  EXPECT_EQ(ReadFile(busy + "/inside"), "x");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(FileServices, LogEntriesAreStamped) {
  test::TempDir dir;
  const std::string log = dir.File("Cadenzio.log");
  std::tm when{};
  when.tm_year = 124, when.tm_mon = 2, when.tm_mday = 5, when.tm_hour = 7, when.tm_min = 8;
  EXPECT_TRUE(AppendLog(log, "SMISave() - flushFile error\r\n\r\n", when) && AppendLog(log, "", when));
  EXPECT_EQ(ReadFile(log), "[2024/03/05 07:08:00]\r\nSMISave() - flushFile error\r\n\r\n[2024/03/05 07:08:00]\r\n");
  EXPECT_FALSE(AppendLog(dir.File("no/such.log"), "x", when));
}

std::vector<std::string> ReadAll(LineReader reader, std::size_t max) {
  std::vector<std::string> pieces;
  for (std::string piece; reader.Next(piece, max);) pieces.push_back(piece);
  return pieces;
}

// Pieces are cut as fgets cuts them (compared with the C library on a long
// line and on random texts), except that a NUL byte stays in its piece.
TEST(LineReader, CutsLikeFgetsButKeepsNul) {
  const std::string odd("a\rb\0c\nd", 7);
  EXPECT_EQ(ReadAll(LineReader(odd), 100), (std::vector<std::string>{odd.substr(0, 6), "d"}));
  EXPECT_TRUE(ReadAll(LineReader("abc"), 0).empty());
  std::vector<std::pair<std::string, std::size_t>> cases = {{std::string(2499, 'x') + "\ntail", 1022}};
  std::mt19937 rng(949);
  for (int round = 0; round < 200; ++round) {
    std::string text(rng() % 300, ' ');
    for (char& c : text) c = "a\n\r\xB0"[rng() % 4];
    cases.emplace_back(text, 1 + rng() % 40);
  }
  test::TempDir dir;
  for (const auto& [text, max] : cases) {
    WriteFile(dir.File("t"), text);
    std::vector<std::string> expected, from_stream;
    UniqueFile f = OpenFile(dir.File("t"), "rb");
    std::vector<char> buffer(max + 1);
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), f.get())) expected.emplace_back(buffer.data());
    std::rewind(f.get());
    for (std::string piece; ReadLinePiece(f.get(), piece, max);) from_stream.push_back(piece);
    ASSERT_EQ(ReadAll(LineReader(text), max), expected) << "max " << max;
    ASSERT_EQ(from_stream, expected) << "max " << max;
  }
}

}  // namespace
}  // namespace cadenzio
