// Settings defaults and loading.
#include "settings/settings.h"

#include <cstdlib>
#include <filesystem>

#include "settings/file_services.h"

namespace cadenzio {

Settings Settings::Defaults(bool ini_exists) {
  Settings s;
  s.min_interval = ini_exists ? 500 : 800;
  s.insert_nl = !ini_exists;
  s.header_template = BuiltInHeader();
  return s;
}

Settings Settings::Load(const std::string& ini_path) {
  // Provisional: the INI reader lands with the settings work; defaults only.
  return Defaults(FileExists(ini_path));
}

bool Settings::Save(const std::string&) const { return false; }

std::string ProgramFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const std::string folder = exe.parent_path().string() + "/";
    if (FileExists(folder + "Cadenzio.ini")) return folder;
  }
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
  else base = ".";
  return base + "/cadenzio/";
}

std::string SettingsFilePath() { return ProgramFolder() + "Cadenzio.ini"; }
std::string LogFilePath() { return ProgramFolder() + "Cadenzio.log"; }

const std::string& BuiltInHeader() {
  static const std::string kHeader;
  return kHeader;
}

}  // namespace cadenzio
