// Test helper: a pointer and a keyboard on a wlroots compositor (sway), made
// through its virtual-pointer and virtual-keyboard protocols and driven by
// lines on standard input:
//   move X Y          the pointer to X,Y in the output's pixels
//   press N | release N   button N (1 left, 2 middle, 3 right)
//   key KEY...        each key pressed and released, modifiers first: Tab, ctrl+v
//   remove | add      the pointer goes away / a new one comes
//   sync              nothing: answered once all before it is handled
// Each line is answered with "ok" once the compositor has handled it, or
// "error ..." on a line it cannot read. The devices go away at end of input.
// The keyboard stays for the whole session: a client loses the clipboard's
// offer with its keyboard focus. Wayland's scanner would need the protocols'
// XML, which Debian does not ship, so their interfaces, of which only the
// requests are used, are declared here.
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

// Presses the modifiers of "ctrl+shift+v" in order, then the key, and releases
// them in reverse; false if a name is not in kKeys.
bool PressAndRelease(wl_proxy* keyboard, std::string_view combination, uint32_t& time) {
  std::vector<Key> keys;
  for (size_t start = 0; start <= combination.size();) {
    size_t end = combination.find('+', start);
    if (end == std::string_view::npos) end = combination.size();
    const auto found = kKeys.find(combination.substr(start, end - start));
    if (found == kKeys.end()) return false;
    keys.push_back(found->second);
    start = end + 1;
  }
  uint32_t modifiers = 0;
  const auto send = [&](const Key& key, uint32_t state) {
    wl_proxy_marshal(keyboard, kKey, ++time, key.code, state);
    if (key.modifier == 0) return;
    modifiers = state == WL_KEYBOARD_KEY_STATE_PRESSED ? modifiers | key.modifier
                                                       : modifiers & ~key.modifier;
    wl_proxy_marshal(keyboard, kModifiers, modifiers, 0, 0, 0);
  };
  for (const Key& key : keys) send(key, WL_KEYBOARD_KEY_STATE_PRESSED);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    send(*key, WL_KEYBOARD_KEY_STATE_RELEASED);
  }
  return true;
}

struct Globals {
  wl_proxy* manager = nullptr;
  wl_proxy* keyboardManager = nullptr;
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
            uint32_t /*version*/) {
  auto* globals = static_cast<Globals*>(data);
  if (std::strcmp(interface, kManagerInterface.name) == 0) {
    globals->manager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
  } else if (std::strcmp(interface, kKeyboardManagerInterface.name) == 0) {
    globals->keyboardManager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kKeyboardManagerInterface, 1));
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

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fputs("virtual_input: no Wayland display\n", stderr);
    return 1;
  }
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  wl_display_roundtrip(display);
  wl_display_roundtrip(display);
  if (globals.manager == nullptr || globals.keyboardManager == nullptr || globals.width == 0) {
    std::fputs("virtual_input: the compositor offers no virtual pointer, keyboard or output\n",
               stderr);
    return 1;
  }
  wl_proxy* keyboard = wl_proxy_marshal_constructor(globals.keyboardManager, 0, &kKeyboardInterface,
                                                    globals.seat, nullptr);
  if (!SendKeymap(keyboard)) return 1;
  const auto create = [&] {
    return wl_proxy_marshal_constructor(globals.manager, 0, &kPointerInterface, globals.seat,
                                        nullptr);
  };
  wl_proxy* pointer = create();
  uint32_t time = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    int x = 0;
    int y = 0;
    if (verb == "move" && words >> x >> y && pointer != nullptr) {
      wl_proxy_marshal(pointer, kMotionAbsolute, ++time, x, y, globals.width, globals.height);
      wl_proxy_marshal(pointer, kFrame);
    } else if ((verb == "press" || verb == "release") && words >> x && ButtonCode(x) != 0 &&
               pointer != nullptr) {
      wl_proxy_marshal(
          pointer, kButton, ++time, ButtonCode(x),
          verb == "press" ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
      wl_proxy_marshal(pointer, kFrame);
    } else if (verb == "key") {
      std::string key;
      bool known = true;
      while (known && words >> key) known = PressAndRelease(keyboard, key, time);
      if (!known) {
        std::cout << "error: no key " << key << std::endl;
        continue;
      }
    } else if (verb == "sync") {
    } else if (verb == "remove" && pointer != nullptr) {
      wl_proxy_marshal(pointer, kDestroy);
      wl_proxy_destroy(pointer);
      pointer = nullptr;
    } else if (verb == "add" && pointer == nullptr) {
      pointer = create();
    } else {
      std::cout << "error: " << line << std::endl;
      continue;
    }
    if (wl_display_roundtrip(display) < 0) return 1;
    std::cout << "ok" << std::endl;
  }
  wl_display_disconnect(display);
  return 0;
}
