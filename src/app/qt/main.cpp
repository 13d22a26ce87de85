// The Cadenzio editor program: the main window on the movie and caption file
// named on the command line (either order, either may be left out).
#include <QApplication>
#include <clocale>
#include <string>
#include <vector>

#include "app/cadenzio_app.h"
#include "app/qt/main_window.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_text.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);  // takes Qt's own options out of argv
  // mpv refuses to start with a numeric locale other than "C".
  std::setlocale(LC_NUMERIC, "C");
  cadenzio::InstallFontSubstitutions();

  cadenzio::CCadenzioApp app;
  app.InstallHelpPage(
      cadenzio::ToNativePath(QCoreApplication::applicationDirPath() + "/Cadenzio.html"));
  cadenzio::CadenzioWindow window(app);
  window.Start(std::vector<std::string>(argv + 1, argv + argc));
  return application.exec();
}
