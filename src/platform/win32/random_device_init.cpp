// Keeps std::random_device out of Colfix.exe, which never makes one. The
// exceptions' copy-on-write strings that every C++ runtime error needs sit in
// one library object with random_device's string constructor, and that one
// brings in the runtime's random.o; GCC 14's throws std::system_error, which
// brings in the error categories, their messages and a second string type
// (about 13 KB of the file). Defining the one function referred to keeps
// random.o out of the link; the program would end here were it ever called.
#include <cstdlib>
#include <random>

void std::random_device::_M_init(const char*, std::size_t) {
  std::abort();
}
