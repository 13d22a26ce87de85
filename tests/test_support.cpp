#include "test_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace cadenzio::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "cadenzio-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string SamplesDir() {
  const std::string dir = CADENZIO_SAMPLES;
  return std::filesystem::is_directory(dir) ? dir : std::string();
}

std::string TestDataDir() { return CADENZIO_TEST_DATA; }

RunResult RunCli(const std::vector<std::string>& args) {
  const auto quote = [](const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  TempDir dir;
  std::string cmd = quote(CADENZIO_CLI);
  for (const auto& a : args) cmd += " " + quote(a);
  cmd += " >" + quote(dir.File("out")) + " 2>" + quote(dir.File("err")) + " </dev/null";
  const int raw = std::system(cmd.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir.File("out")), ReadFile(dir.File("err"))};
}

}  // namespace cadenzio::test
