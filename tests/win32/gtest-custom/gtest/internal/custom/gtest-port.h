// GoogleTest's own place for platform settings, taken instead of the empty
// one it ships. The toolchain's C++ runtime (GCC 12 with win32 threads) has no
// std::mutex or std::condition_variable, on which GoogleTest builds its
// Notification; this one is a Windows event, as GoogleTest's was before 1.12.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
