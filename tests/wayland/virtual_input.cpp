// Test helper: a pointer and a keyboard on a wlroots compositor (sway), made
// through its virtual-pointer and virtual-keyboard protocols, or on KWin,
// through its fake-input protocol, and driven by lines on standard input:
//   move X Y          the pointer to X,Y in the output's pixels, in steps
//   press N | release N   button N (1 left, 2 middle, 3 right)
//   key KEY...        each key pressed and released, modifiers first: Tab, ctrl+v
//   remove | add      the pointer goes away / a new one comes (on KWin, with
//                     the keyboard: there one device is both)
//   sync              nothing: answered once all before it is handled
// Each line is answered with "ok" once the compositor has handled it, or
// "error ..." on a line it cannot read. The devices go away at end of input.
// On sway the keyboard stays for the whole session: a client loses the
// clipboard's offer with its keyboard focus. Wayland's scanner would need the
// input protocols' XML, which Debian ships for only some of them, so what is
// used of their interfaces is declared here; the data-control protocols' come
// with the Wayland clipboard keeper.
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data_control.h"

namespace {

// wl_message takes its argument types as a non-const array.
std::array<const wl_interface*, 5> kNoTypes{};
// Requests in the protocol's order: the index is the opcode.
const std::array<wl_message, 9> kPointerRequests{{
    {"motion", "uff", kNoTypes.data()},
    {"motion_absolute", "uuuuu", kNoTypes.data()},
    {"button", "uuu", kNoTypes.data()},
    {"axis", "uuf", kNoTypes.data()},
    {"frame", "", kNoTypes.data()},
    {"axis_source", "u", kNoTypes.data()},
    {"axis_stop", "uu", kNoTypes.data()},
    {"axis_discrete", "uufi", kNoTypes.data()},
    {"destroy", "", kNoTypes.data()},
}};
const wl_interface kPointerInterface{"zwlr_virtual_pointer_v1", 1, 9,
                                     kPointerRequests.data(),   0, nullptr};
std::array<const wl_interface*, 2> kCreateTypes{&wl_seat_interface, &kPointerInterface};
const std::array<wl_message, 1> kManagerRequests{
    {{"create_virtual_pointer", "?on", kCreateTypes.data()}}};
const wl_interface kManagerInterface{"zwlr_virtual_pointer_manager_v1", 1, 1,
                                     kManagerRequests.data(),           0, nullptr};
enum PointerRequest : uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kDestroy = 8 };

const std::array<wl_message, 4> kKeyboardRequests{{
    {"keymap", "uhu", kNoTypes.data()},
    {"key", "uuu", kNoTypes.data()},
    {"modifiers", "uuuu", kNoTypes.data()},
    {"destroy", "", kNoTypes.data()},
}};
const wl_interface kKeyboardInterface{"zwp_virtual_keyboard_v1", 1, 4,
                                      kKeyboardRequests.data(),  0, nullptr};
std::array<const wl_interface*, 2> kCreateKeyboardTypes{&wl_seat_interface, &kKeyboardInterface};
const std::array<wl_message, 1> kKeyboardManagerRequests{
    {{"create_virtual_keyboard", "on", kCreateKeyboardTypes.data()}}};
const wl_interface kKeyboardManagerInterface{"zwp_virtual_keyboard_manager_v1", 1, 1,
                                             kKeyboardManagerRequests.data(),   0, nullptr};
enum KeyboardRequest : uint32_t { kKeymap = 0, kKey = 1, kModifiers = 2 };

// KWin's fake input makes one device that is a pointer and a keyboard at once;
// it has no request to end it, so it ends with the connection that made it.
// KWin keeps the modifiers' state itself.
const std::array<wl_message, 11> kFakeInputRequests{{
    {"authenticate", "ss", kNoTypes.data()},
    {"pointer_motion", "ff", kNoTypes.data()},
    {"button", "uu", kNoTypes.data()},
    {"axis", "uf", kNoTypes.data()},
    {"touch_down", "2uff", kNoTypes.data()},
    {"touch_motion", "2uff", kNoTypes.data()},
    {"touch_up", "2u", kNoTypes.data()},
    {"touch_cancel", "2", kNoTypes.data()},
    {"touch_frame", "2", kNoTypes.data()},
    {"pointer_motion_absolute", "3ff", kNoTypes.data()},
    {"keyboard_key", "4uu", kNoTypes.data()},
}};
const wl_interface kFakeInputInterface{"org_kde_kwin_fake_input", 4, 11,
                                       kFakeInputRequests.data(), 0, nullptr};
enum FakeInputRequest : uint32_t {
  kAuthenticate = 0,
  kFakeButton = 2,
  kFakeMotionAbsolute = 9,
  kFakeKey = 10
};

// Data control, ext-data-control-v1 where the compositor offers it (KWin 6.7
// offers nothing else), else wlroots' (version 2), as far as holding a primary
// selection goes: KWin tells data-control clients such as wl-clipboard that it
// has primary selections only while there is one, so one, empty, is held from
// the start. Both come from the keeper's bindings.
//
// Holds an empty primary selection through `manager`; the source and the
// device it is held with go to `source` and `device`, to be destroyed.
template <class Protocol>
void HoldEmptyPrimaryThrough(typename Protocol::Manager* manager, wl_seat* seat, wl_proxy*& source,
                             wl_proxy*& device) {
  // The empty selection's data: nothing, so the pipe is closed at once.
  static constexpr typename Protocol::SourceListener kListener{
      [](void*, typename Protocol::Source*, const char*, int32_t fd) { close(fd); },
      [](void*, typename Protocol::Source*) {}};
  typename Protocol::Source* made = Protocol::CreateSource(manager);
  Protocol::Offer(made, "text/plain");
  Protocol::Listen(made, &kListener, nullptr);
  auto* madeDevice = Protocol::GetDevice(manager, seat);
  Protocol::SetPrimary(madeDevice, made);
  source = reinterpret_cast<wl_proxy*>(made);
  device = reinterpret_cast<wl_proxy*>(madeDevice);
}

// A US keyboard with evdev key codes, so the codes below mean what they say.
constexpr std::string_view kUsKeymap =
    "xkb_keymap { xkb_keycodes { include \"evdev+aliases(qwerty)\" };"
    " xkb_types { include \"complete\" }; xkb_compat { include \"complete\" };"
    " xkb_symbols { include \"pc+us+inet(evdev)\" }; };";

struct Key {
  uint32_t code;
  uint32_t modifier;  // its bit in the keymap's modifier mask, if it is one
};
const std::map<std::string, Key, std::less<>> kKeys{
    {"shift", {KEY_LEFTSHIFT, 1}},
    {"ctrl", {KEY_LEFTCTRL, 4}},
    {"alt", {KEY_LEFTALT, 8}},
    {"Tab", {KEY_TAB, 0}},
    {"Menu", {KEY_COMPOSE, 0}},
    {"F4", {KEY_F4, 0}},
    {"F10", {KEY_F10, 0}},
    {"Escape", {KEY_ESC, 0}},
    {"Return", {KEY_ENTER, 0}},
    {"p", {KEY_P, 0}},
    {"v", {KEY_V, 0}},
    {"space", {KEY_SPACE, 0}},
};

// Uploads the keymap; false if the compositor cannot have it.
bool SendKeymap(wl_proxy* keyboard) {
  const int fd = memfd_create("keymap", MFD_CLOEXEC);
  if (fd < 0) return false;
  const bool written =
      write(fd, kUsKeymap.data(), kUsKeymap.size()) == static_cast<ssize_t>(kUsKeymap.size()) &&
      write(fd, "", 1) == 1;  // the size counts the final NUL
  if (written) {
    wl_proxy_marshal(keyboard, kKeymap, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                     static_cast<uint32_t>(kUsKeymap.size() + 1));
  }
  close(fd);
  return written;
}

struct Globals {
  wl_proxy* manager = nullptr;
  wl_proxy* keyboardManager = nullptr;
  wl_proxy* fakeInput = nullptr;
  ext_data_control_manager_v1* extDataControl = nullptr;
  zwlr_data_control_manager_v1* wlrDataControl = nullptr;
  wl_seat* seat = nullptr;
  wl_output* output = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

void OutputMode(void* data, wl_output* /*output*/, uint32_t flags, int32_t width, int32_t height,
                int32_t /*refresh*/) {
  auto* globals = static_cast<Globals*>(data);
  if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
    globals->width = width;
    globals->height = height;
  }
}
void OutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                    const char*, int32_t) {}
void OutputDone(void*, wl_output*) {}
void OutputScale(void*, wl_output*, int32_t) {}
// Bound at version 2, so name and description never come.
const wl_output_listener kOutputListener{OutputGeometry, OutputMode, OutputDone,
                                         OutputScale,    nullptr,    nullptr};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
  auto* globals = static_cast<Globals*>(data);
  if (std::strcmp(interface, kManagerInterface.name) == 0) {
    globals->manager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
  } else if (std::strcmp(interface, kKeyboardManagerInterface.name) == 0) {
    globals->keyboardManager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kKeyboardManagerInterface, 1));
  } else if (std::strcmp(interface, kFakeInputInterface.name) == 0) {
    globals->fakeInput =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kFakeInputInterface, 4));
  } else if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0) {
    globals->extDataControl = static_cast<ext_data_control_manager_v1*>(
        wl_registry_bind(registry, name, &ext_data_control_manager_v1_interface, 1));
  } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0 &&
             version >= 2) {
    globals->wlrDataControl = static_cast<zwlr_data_control_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 2));
  } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
    globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, wl_output_interface.name) == 0 && globals->output == nullptr) {
    globals->output =
        static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
    wl_output_add_listener(globals->output, &kOutputListener, globals);
  }
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener{Global, GlobalRemove};

// A connection to the compositor with the globals it offers bound.
struct Connection {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  Globals globals;
  wl_proxy* source = nullptr;  // of the primary selection held, with its device
  wl_proxy* device = nullptr;

  bool Open() {
    display = wl_display_connect(nullptr);
    if (display == nullptr) return false;
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    // The globals, then the output's mode.
    return wl_display_roundtrip(display) >= 0 && wl_display_roundtrip(display) >= 0;
  }
  // Makes an empty primary selection, held while the connection lasts.
  void HoldEmptyPrimary() {
    if (globals.extDataControl != nullptr) {
      HoldEmptyPrimaryThrough<colfix::data_control::Ext>(globals.extDataControl, globals.seat,
                                                         source, device);
    } else {
      HoldEmptyPrimaryThrough<colfix::data_control::Wlr>(globals.wlrDataControl, globals.seat,
                                                         source, device);
    }
  }
  void Close() {
    for (wl_proxy* proxy :
         {source, device, globals.manager, globals.keyboardManager, globals.fakeInput,
          reinterpret_cast<wl_proxy*>(globals.extDataControl),
          reinterpret_cast<wl_proxy*>(globals.wlrDataControl),
          reinterpret_cast<wl_proxy*>(globals.seat), reinterpret_cast<wl_proxy*>(globals.output),
          reinterpret_cast<wl_proxy*>(registry)}) {
      if (proxy != nullptr) wl_proxy_destroy(proxy);
    }
    wl_display_disconnect(display);
    *this = {};
  }
};

// The pointer and keyboard of one compositor.
class Devices {
 public:
  virtual ~Devices() = default;
  // Each false when there is no pointer or keyboard to do it with.
  virtual bool Move(int x, int y) = 0;
  virtual bool SendButton(uint32_t code, uint32_t state) = 0;
  virtual bool SendKey(const Key& key, uint32_t state) = 0;
  // Each false when the pointer is already gone / there.
  virtual bool Remove() = 0;
  virtual bool Add() = 0;
  // Returns once the compositor has handled every request before it; false
  // when the connection broke.
  virtual bool Sync() = 0;
};

// sway: a virtual pointer that can go and come, and a virtual keyboard that stays.
class WlrootsDevices : public Devices {
 public:
  explicit WlrootsDevices(Connection& connection)
      : connection_(connection),
        keyboard_(wl_proxy_marshal_constructor(connection.globals.keyboardManager, 0,
                                               &kKeyboardInterface, connection.globals.seat,
                                               nullptr)),
        ready_(SendKeymap(keyboard_)) {
    Add();
  }
  ~WlrootsDevices() override {
    Remove();
    wl_proxy_destroy(keyboard_);
  }
  bool Ready() const { return ready_; }

  bool Move(int x, int y) override {
    if (pointer_ == nullptr) return false;
    wl_proxy_marshal(pointer_, kMotionAbsolute, ++time_, x, y, connection_.globals.width,
                     connection_.globals.height);
    wl_proxy_marshal(pointer_, kFrame);
    return true;
  }
  bool SendButton(uint32_t code, uint32_t state) override {
    if (pointer_ == nullptr) return false;
    wl_proxy_marshal(pointer_, kButton, ++time_, code, state);
    wl_proxy_marshal(pointer_, kFrame);
    return true;
  }
  bool SendKey(const Key& key, uint32_t state) override {
    wl_proxy_marshal(keyboard_, kKey, ++time_, key.code, state);
    if (key.modifier != 0) {
      modifiers_ = state == WL_KEYBOARD_KEY_STATE_PRESSED ? modifiers_ | key.modifier
                                                          : modifiers_ & ~key.modifier;
      wl_proxy_marshal(keyboard_, kModifiers, modifiers_, 0, 0, 0);
    }
    return true;
  }
  bool Remove() override {
    if (pointer_ == nullptr) return false;
    wl_proxy_marshal(pointer_, kDestroy);
    wl_proxy_destroy(pointer_);
    pointer_ = nullptr;
    return true;
  }
  bool Add() override {
    if (pointer_ != nullptr) return false;
    pointer_ = wl_proxy_marshal_constructor(connection_.globals.manager, 0, &kPointerInterface,
                                            connection_.globals.seat, nullptr);
    return true;
  }
  bool Sync() override { return wl_display_roundtrip(connection_.display) >= 0; }

 private:
  Connection& connection_;
  wl_proxy* keyboard_;
  bool ready_;
  wl_proxy* pointer_ = nullptr;
  uint32_t time_ = 0;
  uint32_t modifiers_ = 0;
};

// KWin: one fake device, pointer and keyboard, on a connection of its own so
// that it can go away; the empty primary selection comes and goes with it.
class KwinDevices : public Devices {
 public:
  KwinDevices() { Add(); }
  ~KwinDevices() override { Remove(); }
  bool Ready() const {
    return device_.globals.fakeInput != nullptr &&
           (device_.globals.extDataControl != nullptr || device_.globals.wlrDataControl != nullptr);
  }

  bool Move(int x, int y) override {
    if (!Ready()) return false;
    wl_proxy_marshal(device_.globals.fakeInput, kFakeMotionAbsolute, wl_fixed_from_int(x),
                     wl_fixed_from_int(y));
    return true;
  }
  bool SendButton(uint32_t code, uint32_t state) override {
    if (!Ready()) return false;
    wl_proxy_marshal(device_.globals.fakeInput, kFakeButton, code, state);
    return true;
  }
  bool SendKey(const Key& key, uint32_t state) override {
    if (!Ready()) return false;
    wl_proxy_marshal(device_.globals.fakeInput, kFakeKey, key.code, state);
    return true;
  }
  bool Remove() override {
    if (device_.display == nullptr) return false;
    device_.Close();
    return true;
  }
  bool Add() override {
    if (device_.display != nullptr) return false;
    // KWin offers the interface only to the programs its desktop files name,
    // and takes their input once they have asked for it.
    if (device_.Open() && Ready()) {
      wl_proxy_marshal(device_.globals.fakeInput, kAuthenticate, "colfix tests", "test input");
      device_.HoldEmptyPrimary();
    }
    return true;
  }
  bool Sync() override {
    return device_.display == nullptr || wl_display_roundtrip(device_.display) >= 0;
  }

 private:
  Connection device_;
};

// Presses the modifiers of "ctrl+shift+v" in order, then the key, and releases
// them in reverse; false if a name is not in kKeys or there is no keyboard.
bool PressAndRelease(Devices& devices, std::string_view combination) {
  std::vector<Key> keys;
  for (size_t start = 0; start <= combination.size();) {
    size_t end = combination.find('+', start);
    if (end == std::string_view::npos) end = combination.size();
    const auto found = kKeys.find(combination.substr(start, end - start));
    if (found == kKeys.end()) return false;
    keys.push_back(found->second);
    start = end + 1;
  }
  bool sent = true;
  for (const Key& key : keys) sent = devices.SendKey(key, WL_KEYBOARD_KEY_STATE_PRESSED) && sent;
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    sent = devices.SendKey(*key, WL_KEYBOARD_KEY_STATE_RELEASED) && sent;
  }
  return sent;
}

uint32_t ButtonCode(int button) {
  switch (button) {
    case 1:
      return BTN_LEFT;
    case 2:
      return BTN_MIDDLE;
    case 3:
      return BTN_RIGHT;
    default:
      return 0;
  }
}

// Moves the pointer from `at` (where the last move left it, if any) to X,Y in
// steps of a few pixels, as a mouse moves: through XWayland, sway sends a
// step's relative motion in the frame where the pointer passes from one X
// window to another, and X puts the next button event that far beyond where
// the pointer is. A jump from the field to its menu's Paste had the click land
// outside the menu.
bool Glide(Devices& devices, std::optional<std::pair<int, int>>& at, int x, int y) {
  constexpr int kStep = 8;
  const auto [fromX, fromY] = at.value_or(std::pair{x, y});
  const int steps = std::max({1, std::abs(x - fromX) / kStep, std::abs(y - fromY) / kStep});
  bool moved = true;
  for (int step = 1; step <= steps && moved; ++step) {
    moved = devices.Move(fromX + (x - fromX) * step / steps, fromY + (y - fromY) * step / steps);
  }
  if (moved) at = std::pair{x, y};
  return moved;
}

// Carries out the lines on standard input; false when the connection broke.
bool Serve(Devices& devices) {
  std::optional<std::pair<int, int>> at;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    int x = 0;
    int y = 0;
    bool done = false;
    if (verb == "move" && words >> x >> y) {
      done = Glide(devices, at, x, y);
    } else if ((verb == "press" || verb == "release") && words >> x && ButtonCode(x) != 0) {
      done = devices.SendButton(ButtonCode(x), verb == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                               : WL_POINTER_BUTTON_STATE_RELEASED);
    } else if (verb == "key") {
      std::string key;
      done = true;
      while (done && words >> key) done = PressAndRelease(devices, key);
    } else if (verb == "remove" || verb == "add") {
      done = verb == "remove" ? devices.Remove() : devices.Add();
    } else {
      done = verb == "sync";
    }
    if (!done) {
      std::cout << "error: " << line << std::endl;
      continue;
    }
    if (!devices.Sync()) return false;
    std::cout << "ok" << std::endl;
  }
  return true;
}

}  // namespace

int main() {
  Connection connection;
  if (!connection.Open()) {
    std::fputs("virtual_input: no Wayland display\n", stderr);
    return 1;
  }
  const Globals& globals = connection.globals;
  bool served = false;
  if (globals.manager != nullptr && globals.keyboardManager != nullptr && globals.width != 0) {
    WlrootsDevices devices(connection);
    served = devices.Ready() && Serve(devices);
  } else {
    KwinDevices devices;
    if (!devices.Ready()) {
      std::fputs(
          "virtual_input: the compositor offers no virtual pointer and keyboard, nor"
          " fake input and data control to this program\n",
          stderr);
      return 1;
    }
    served = Serve(devices);
  }
  connection.Close();
  return served ? 0 : 1;
}
