#include "app/cadenzio_app.h"

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

}  // namespace cadenzio
