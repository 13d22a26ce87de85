// The application object: the paths every part of the window reaches through
// it. One instance for the whole run, made before the main window.
#pragma once

#include <string>

namespace cadenzio {

class CCadenzioApp {
 public:
  // The paths of the folder that ProgramFolder() chooses.
  CCadenzioApp();
  // Explicit paths, for tests and for a portable folder given on the command line.
  CCadenzioApp(std::string program_folder);

  const std::string& program_folder() const { return program_folder_; }  // ends in '/'
  const std::string& settings_path() const { return settings_path_; }    // .../Cadenzio.ini
  const std::string& log_path() const { return log_path_; }              // .../Cadenzio.log
  std::string help_path() const { return program_folder_ + "Cadenzio.html"; }

  // Puts the help page that ships beside the executable into the program
  // folder when that folder has none yet, so the help menu finds it whichever
  // folder the settings live in. A page already there is the user's and stays.
  // False when a copy was needed and failed.
  bool InstallHelpPage(const std::string& shipped_page) const;

 private:
  std::string program_folder_;
  std::string settings_path_;
  std::string log_path_;
};

}  // namespace cadenzio
