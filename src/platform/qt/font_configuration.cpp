// See font_configuration.h. fontconfig comes with Qt Gui, which links it; it
// is looked up rather than linked, so that Colfix needs no fontconfig of its
// own to build, and where Qt uses none nothing is read ahead.
#include "font_configuration.h"

#include <dlfcn.h>

#include <bit>
#include <system_error>

namespace colfix {
namespace {

using FcInitFunction = int (*)();

}  // namespace

FontConfigurationReader::FontConfigurationReader() {
  void* const symbol = ::dlsym(RTLD_DEFAULT, "FcInit");
  if (symbol == nullptr) return;
  // fontconfig loads its configuration once per process, whichever thread
  // asks first; FcInit is safe to call from any thread.
  try {
    reader_ = std::thread(std::bit_cast<FcInitFunction>(symbol));
  } catch (const std::system_error&) {
    // No thread to spare: Qt reads the configuration itself, as it would anyway.
  }
}

void FontConfigurationReader::Wait() {
  if (reader_.joinable()) reader_.join();
}

}  // namespace colfix
