// The desktop's font configuration read ahead, on a thread of its own.
#pragma once

#include <thread>

namespace colfix {

// Qt reads fontconfig's configuration (every file under /etc/fonts) as the
// first caption is measured, which is about a quarter of the start's work and
// nothing of it depends on the display. Begun before the application connects
// to the display, it runs meanwhile; Qt's own call then finds it done.
class FontConfigurationReader {
 public:
  FontConfigurationReader();
  // Waits until the configuration has been read; before the first caption.
  void Wait();
  ~FontConfigurationReader() { Wait(); }

  FontConfigurationReader(const FontConfigurationReader&) = delete;
  FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

 private:
  std::thread reader_;
};

}  // namespace colfix
