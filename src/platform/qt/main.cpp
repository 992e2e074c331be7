// Colfix on Linux: builds frmMain, shows it and runs the event loop until
// Form_Unload ends the program.
#include <QApplication>

#include "colfix_version.h"
#include "frm_main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Colfix"));
  QApplication::setApplicationVersion(QStringLiteral(COLFIX_VERSION_TEXT));
  colfix::FrmMainWindow window;
  window.show();
  return QApplication::exec();
}
