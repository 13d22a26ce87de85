// Helpers shared by the tests: files, the samples folder and the CLI.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cadenzio::test {

// A fresh empty folder for one test, removed when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

std::string SamplesDir();  // real caption files from other projects; empty when absent
std::string TestDataDir();

struct RunResult {
  int status = -1;
  std::string out, err;
};
// Runs cadenzio-cli with the given arguments, stdin empty.
RunResult RunCli(const std::vector<std::string>& args);

}  // namespace cadenzio::test
