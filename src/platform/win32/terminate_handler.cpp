// Colfix.exe's own terminate handler. The C++ runtime's default one writes the
// uncaught exception's demangled type to stderr, which a GUI program has not
// got, and it brings the runtime's whole demangler (about 45 KB) into the
// file. Defining the handler here keeps the library's copy out of the link;
// the program still ends through abort(), as it did after that message.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
