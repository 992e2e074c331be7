// Colfix on Linux: builds frmMain, shows it and runs the event loop until
// Form_Unload ends the program.
#include <QApplication>

#include "colfix_version.h"
#include "frm_main_window.h"
#include "unix_signals.h"
#include "x11_preference.h"

int main(int argc, char* argv[]) {
  colfix::PreferX11WhereAvailable();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Colfix"));
  QApplication::setApplicationVersion(QStringLiteral(COLFIX_VERSION_TEXT));
  colfix::FrmMainWindow window;
  // A termination signal closes the window as its close box would.
  colfix::CloseOnTerminationSignals(window, [&window] { window.close(); });
  window.show();
  return QApplication::exec();
}
