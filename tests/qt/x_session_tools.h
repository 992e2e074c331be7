// What the Qt tests do from outside the program, as another X client would:
// run xclip and xdotool while this process's event loop keeps serving the
// selections it owns, and read window properties straight from the X server.
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace colfix::testing {

struct ProcessResult {
  int exitCode = -1;
  QByteArray output;
};

// Runs `program` to its end (at most 30 s) with the event loop running.
ProcessResult RunProgram(const QString& program, const QStringList& arguments,
                         const QByteArray& input = {});

// Another program (xclip) owning `selection` ("clipboard", "primary") and
// offering `data` as `target`, until this object is destroyed.
class SelectionOwner {
 public:
  SelectionOwner(const QString& selection, const QString& target, const QByteArray& data);
  ~SelectionOwner();
  SelectionOwner(const SelectionOwner&) = delete;
  SelectionOwner& operator=(const SelectionOwner&) = delete;

 private:
  QProcess xclip_;
};

// What another program reads from `selection` as `target`; exit code non-zero if nothing.
ProcessResult ReadSelection(const QString& selection, const QString& target);

// Presses and releases X button `xButton` (1 left, 2 middle, 3 right) at `local`
// in `widget`, holding `modifiers` (xdotool key names), through the X server.
void Click(const QWidget& widget, QPoint local, int xButton, const QStringList& modifiers = {});

// Moves the pointer to `local` in `widget`, through the X server.
void MovePointer(const QWidget& widget, QPoint local);

// Presses a key combination (e.g. "Tab", "ctrl+v", "shift+F10") on the keyboard
// of the X server, key by key as a keyboard does (tests/support/x-keys).
void Key(const QString& keys);

// Sends WM_DELETE_WINDOW, as a window manager does when its close box is clicked.
void RequestClose(WId window);

// Returns once this process has handled all the input the X server had sent it
// before the call (from xdotool, say), and what Qt posted while handling it;
// `window` is any of the process's shown top-level windows.
void HandleInputSentSoFar(const QWidget& window);

// Waits, with the event loop running, until `done` holds; false after `ms` milliseconds.
// `ms` is stretched by the wait factor (wait_factor.h).
bool WaitFor(const std::function<bool()>& done, int ms = 10000);

// A window property of 32-bit items as the X server holds it (empty if unset).
std::vector<std::uint32_t> CardinalProperty(WId window, const char* name);
// The atom names in an ATOM[] property.
QStringList AtomProperty(WId window, const char* name);
// A UTF8_STRING or STRING property's text.
QString StringProperty(WId window, const char* name);
// The window's geometry in device pixels as the X server has it, relative to its parent.
QRect ServerGeometry(WId window);

}  // namespace colfix::testing
