// Colfix on Linux: builds frmMain, shows it and runs the event loop until
// Form_Unload ends the program.
#include <QApplication>
#include <algorithm>
#include <cstdio>

#include "application_icon.h"
#include "application_setup.h"
#include "clipboard_keeping.h"
#include "colfix_version.h"
#include "display_choice.h"
#include "font_configuration.h"
#include "frm_main_window.h"
#include "unix_signals.h"
#include "wayland_exit.h"

int main(int argc, char* argv[]) {
  if (!colfix::DisplayNamed()) {
    std::fputs(
        "colfix: there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
        "set)\n",
        stderr);
    return 1;
  }
  colfix::FontConfigurationReader fontConfiguration;
  colfix::PreferX11WhereAvailable();
  // Colfix takes no command line, so Qt gets none either: its own options
  // (-style, -reverse, -platform, ...) would change the window.
  int qtArgc = std::min(argc, 1);
  colfix::ClipboardKeeping clipboardKeeping;  // before `app`, so it acts once `app` is gone
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Colfix"));
  QApplication::setApplicationVersion(QStringLiteral(COLFIX_VERSION_TEXT));
  colfix::SetUpApplication();
  // The icon needs no fonts: it is read while the configuration may still be.
  const QIcon icon = colfix::ApplicationIcon();
  fontConfiguration.Wait();
  colfix::FrmMainWindow window(icon);
  // A termination signal closes the window as its close box would.
  colfix::CloseOnTerminationSignals(window, [&window] { window.close(); });
  clipboardKeeping.HandOverOnClose(window);
  window.show();
  const int status = QApplication::exec();
  // Destroying `app` hands the clipboard to a clipboard manager, which may take
  // seconds; a signal meanwhile is to end the program, not wait for it.
  colfix::RestoreTerminationSignals();
  clipboardKeeping.HandOver();
  colfix::EndNowOnWayland(status);
  return status;
}
