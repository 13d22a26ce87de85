#include "app/cadenzio_app.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "settings/settings.h"

namespace cadenzio {

CCadenzioApp::CCadenzioApp() : CCadenzioApp(ProgramFolder()) {}

CCadenzioApp::CCadenzioApp(std::string program_folder)
    : program_folder_(std::move(program_folder)) {
  if (!program_folder_.empty() && program_folder_.back() != '/') program_folder_ += '/';
  settings_path_ = program_folder_ + "Cadenzio.ini";
  log_path_ = program_folder_ + "Cadenzio.log";
}

bool CCadenzioApp::InstallHelpPage(const std::string& shipped_page) const {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(help_path(), error)) return true;
  if (!fs::exists(shipped_page, error)) return false;
  fs::create_directories(program_folder_, error);
  return fs::copy_file(shipped_page, help_path(), error) && !error;
}

}  // namespace cadenzio
