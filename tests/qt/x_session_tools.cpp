// xclip, xdotool, x-keys and xcb behind small helpers for the Qt tests.
#include "x_session_tools.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdlib>
#include <stdexcept>

#include "wait_factor.h"
#include "xcb_tools.h"

namespace colfix::testing {
namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) throw std::runtime_error("the tests need the xcb platform");
  return x11->connection();
}

xcb_atom_t Atom(const char* name) {
  return ::Atom(Connection(), name);
}

std::vector<std::uint32_t> Property32(WId window, const char* name) {
  const XcbReply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(Connection(),
                             xcb_get_property(Connection(), 0, static_cast<xcb_window_t>(window),
                                              Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1u << 24),
                             nullptr),
      &std::free);
  if (!reply || reply->format != 32) return {};
  const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return {items, items + xcb_get_property_value_length(reply.get()) / 4};
}

// Notices a PropertyNotify for one property of one window.
class PropertyChangeWatch : public QAbstractNativeEventFilter {
 public:
  PropertyChangeWatch(xcb_window_t window, xcb_atom_t property)
      : window_(window), property_(property) {
    qApp->installNativeEventFilter(this);
  }
  ~PropertyChangeWatch() override { qApp->removeNativeEventFilter(this); }
  PropertyChangeWatch(const PropertyChangeWatch&) = delete;
  PropertyChangeWatch& operator=(const PropertyChangeWatch&) = delete;

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
    const auto* event = static_cast<const xcb_property_notify_event_t*>(message);
    if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
        event->window == window_ && event->atom == property_) {
      seen = true;
    }
    return false;
  }

  bool seen = false;

 private:
  xcb_window_t window_;
  xcb_atom_t property_;
};

}  // namespace

void HandleInputSentSoFar(const QWidget& window) {
  // The server sends a client its events in order, so the notice of a property
  // change asked for now comes after all the input it sent before; Qt handles
  // X events in that order too, and delivers the input from its own queue.
  const auto xWindow = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t marker = Atom("_COLFIX_TEST_MARKER");
  const PropertyChangeWatch watch(xWindow, marker);
  const std::uint32_t anything = 0;
  xcb_change_property(Connection(), XCB_PROP_MODE_REPLACE, xWindow, marker, XCB_ATOM_CARDINAL, 32,
                      1, &anything);
  xcb_flush(Connection());
  if (!WaitFor([&] { return watch.seen; })) throw std::runtime_error("the X server did not answer");
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
}

ProcessResult RunProgram(const QString& program, const QStringList& arguments,
                         const QByteArray& input) {
  // The output goes to a file, not a pipe: a pipe is drained only as this
  // process's event loop comes round, and with a million characters in a field
  // each round repaints it, so under load xclip could not write a selection
  // it had long read within the wait.
  QTemporaryFile output;
  if (!output.open()) throw std::runtime_error("cannot make a file for the output");
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(output.fileName());
  process.start(program, arguments);
  if (!process.waitForStarted()) throw std::runtime_error("cannot start " + program.toStdString());
  process.write(input);
  process.closeWriteChannel();
  // Not waitForFinished: xclip may be asking this very process for a selection.
  if (!WaitFor([&] { return process.state() == QProcess::NotRunning; }, 30000)) {
    process.kill();
    process.waitForFinished();
    throw std::runtime_error(program.toStdString() + " did not finish");
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, output.readAll()};
}

SelectionOwner::SelectionOwner(const QString& selection, const QString& target,
                               const QByteArray& data) {
  xclip_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // -quiet keeps xclip in the foreground, so it is ours to end.
  xclip_.start("xclip", {"-quiet", "-selection", selection, "-t", target, "-i"});
  if (!xclip_.waitForStarted()) throw std::runtime_error("cannot start xclip");
  xclip_.write(data);
  xclip_.closeWriteChannel();
  const bool serving = WaitFor([&] {
    return ReadSelection(selection, "TARGETS").output.split('\n').contains(target.toLatin1());
  });
  if (!serving) throw std::runtime_error("xclip did not take the selection");
}

SelectionOwner::~SelectionOwner() {
  xclip_.kill();
  xclip_.waitForFinished();
}

ProcessResult ReadSelection(const QString& selection, const QString& target) {
  return RunProgram("xclip", {"-o", "-selection", selection, "-t", target});
}

namespace {

QStringList PointerTo(const QWidget& widget, QPoint local) {
  const QPoint device = widget.mapToGlobal(local) * widget.devicePixelRatio();
  return {"mousemove", QString::number(device.x()), QString::number(device.y())};
}

void Xdotool(const QStringList& arguments) {
  if (RunProgram("xdotool", arguments).exitCode != 0) throw std::runtime_error("xdotool failed");
}

}  // namespace

void Click(const QWidget& widget, QPoint local, int xButton, const QStringList& modifiers) {
  QStringList arguments = PointerTo(widget, local);
  for (const QString& modifier : modifiers) arguments << "keydown" << modifier;
  arguments << "click" << QString::number(xButton);
  for (const QString& modifier : modifiers) arguments << "keyup" << modifier;
  Xdotool(arguments);
}

void MovePointer(const QWidget& widget, QPoint local) {
  Xdotool(PointerTo(widget, local));
}

void Key(const QString& keys) {
  if (RunProgram(COLFIX_X_KEYS, {keys}).exitCode != 0) throw std::runtime_error("x-keys failed");
}

void RequestClose(WId window) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(window);
  message.type = Atom("WM_PROTOCOLS");
  message.data.data32[0] = Atom("WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(Connection(), 0, static_cast<xcb_window_t>(window), XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(Connection());
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  // Unlike QTest::qWaitFor, no sleeping between rounds: a selection transfer
  // to another program takes many round trips. The ticking timer bounds each wait.
  QTimer tick;
  tick.start(5);
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.hasExpired(static_cast<qint64>(ms) * WaitFactor())) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

std::vector<std::uint32_t> CardinalProperty(WId window, const char* name) {
  return Property32(window, name);
}

QStringList AtomProperty(WId window, const char* name) {
  QStringList names;
  for (const std::uint32_t atom : Property32(window, name)) {
    names << QString::fromStdString(::AtomName(Connection(), atom));
  }
  return names;
}

QString StringProperty(WId window, const char* name) {
  const XcbReply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(Connection(),
                             xcb_get_property(Connection(), 0, static_cast<xcb_window_t>(window),
                                              Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                             nullptr),
      &std::free);
  if (!reply || reply->format != 8) return {};
  return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
}

QRect ServerGeometry(WId window) {
  const XcbReply<xcb_get_geometry_reply_t> reply(
      xcb_get_geometry_reply(Connection(),
                             xcb_get_geometry(Connection(), static_cast<xcb_drawable_t>(window)),
                             nullptr),
      &std::free);
  return reply ? QRect(reply->x, reply->y, reply->width, reply->height) : QRect();
}

}  // namespace colfix::testing
