// The yardstick for Colfix's start-up time and memory: an empty Qt 6 window of
// Colfix's client size (7695 x 2520 twips at the screen's logical DPI), built
// the same way and shown the same way. With --text it also shows one line of
// text, which shows how much of the difference is the cost of any text at all.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  const double pixelsPerTwip = window.screen()->logicalDotsPerInch() / 1440.0;
  window.setFixedSize(qRound(7695 * pixelsPerTwip), qRound(2520 * pixelsPerTwip));
  if (QApplication::arguments().contains(QStringLiteral("--text"))) {
    new QLabel(QStringLiteral("Paste the service reference in the textfield"), &window);
  }
  window.show();
  return QApplication::exec();
}
