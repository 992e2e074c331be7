// The yardstick for Colfix's click and Exit: a plain Qt 6 window of Colfix's
// client size holding a plain QLineEdit and an Exit button where Colfix has
// txtTranscode and cmdExit, so the same scripts drive both. A release of a mouse
// button over the field does the work Colfix's handler does, in the plainest Qt
// calls: the text tidied by the same rule, set back, and put on the clipboard.
// Exit closes the window and the program ends as any Qt program does. Titled
// "Colfix" only so that the scripts' helpers find it as they find Colfix.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <limits>
#include <string>

#include "frm_main_description.h"
#include "transcode_reference.h"

namespace {

class Field : public QLineEdit {
 public:
  explicit Field(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());  // not QLineEdit's 32767
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLineEdit::mouseReleaseEvent(event);
    const QString original = text();
    const std::u16string tidied = colfix::TranscodeReference(
        std::u16string_view(reinterpret_cast<const char16_t*>(original.utf16()),
                            static_cast<std::size_t>(original.size())));
    const QString result(reinterpret_cast<const QChar*>(tidied.data()),
                         static_cast<qsizetype>(tidied.size()));
    setText(result);
    QGuiApplication::clipboard()->setText(result);
  }
};

QRect Pixels(colfix::Control control, int dpi) {
  const colfix::TwipsRect twips = colfix::ClientTwips(control);
  return {colfix::TwipsToPixels(twips.left, dpi), colfix::TwipsToPixels(twips.top, dpi),
          colfix::TwipsToPixels(twips.width, dpi), colfix::TwipsToPixels(twips.height, dpi)};
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Colfix"));
  const int dpi = qRound(window.screen()->logicalDotsPerInch());
  const colfix::FormDescription& form = colfix::frmMainDescription();
  window.setFixedSize(colfix::TwipsToPixels(form.clientWidthTwips, dpi),
                      colfix::TwipsToPixels(form.clientHeightTwips, dpi));
  auto* field = new Field(&window);
  field->setGeometry(Pixels(colfix::Control::txtTranscode, dpi));
  auto* exit = new QPushButton(QStringLiteral("Exit"), &window);
  exit->setGeometry(Pixels(colfix::Control::cmdExit, dpi));
  QObject::connect(exit, &QPushButton::clicked, &window, &QWidget::close);
  window.show();
  return QApplication::exec();
}
