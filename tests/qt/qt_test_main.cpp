// GoogleTest's main with a real QApplication on the X display that
// tests/support/x-session started for this run, set up as the program's.
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QApplication>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "application_setup.h"
#include "wait_factor.h"

namespace {

// A test that hangs (a wait with no end, in Qt or in an X reply) would otherwise
// end only by CTest's limit for the whole run, which kills it without a word of
// where it stood. Past two minutes (stretched) one test is taken to hang: its
// name and every thread's stack (gdb) are printed, and the run aborts.
class HangReport : public ::testing::EmptyTestEventListener {
 public:
  HangReport() {
    // gdb, started below, may attach to this process under Yama's ptrace rules.
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY);
    std::thread(&Watch).detach();
  }

 private:
  void OnTestStart(const ::testing::TestInfo& test) override {
    std::snprintf(name, sizeof name, "%s.%s", test.test_suite_name(), test.name());
    started = Now();
  }
  void OnTestEnd(const ::testing::TestInfo& /*test*/) override { started = 0; }

  static long long Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  // The watch outlives GoogleTest's listeners at exit, so what it reads has no
  // destructor: the name is written before `started`, and read after it.
  static inline char name[512];
  static inline std::atomic<long long> started{0};

  static void Watch() {
    const long long limit = 120LL * colfix::testing::WaitFactor();
    for (;;) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      const long long since = started;
      if (since == 0 || Now() - since < limit) continue;
      std::fprintf(stderr, "%s has run for %lld s, and is taken to hang; its threads:\n", name,
                   limit);
      const std::string gdb = "gdb -p " + std::to_string(getpid()) +
                              " -batch -nx -ex 'thread apply all bt' </dev/null >&2";
      if (std::system(gdb.c_str()) != 0) std::fputs("(gdb could not show them)\n", stderr);
      std::abort();
    }
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new HangReport);
  QApplication app(argc, argv);
  colfix::SetUpApplication();
  return RUN_ALL_TESTS();
}
