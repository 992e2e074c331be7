// Throughput of the tidying rule on 64 MiB of UTF-16 and UTF-8 text, beside
// memcpy of the same bytes in the same run, with the ratio printed at the end.
#include "transcode_reference.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kInputBytes = std::size_t{64} << 20;
constexpr double kTargetRatio = 0.7;
char kDefaultFlags[][48] = {"--benchmark_repetitions=9", "--benchmark_enable_random_interleaving",
                            "--benchmark_report_aggregates_only"};

// A reference of kInputBytes: three leading spaces, `pattern` repeated, then a
// trailing colon and two spaces, so every step of the rule has work to do.
template <typename CharT>
std::basic_string<CharT> MakeInput(std::basic_string_view<CharT> pattern) {
  const std::size_t units = kInputBytes / sizeof(CharT);
  std::basic_string<CharT> text(units, CharT{' '});
  for (std::size_t i = 3; i < units - 3; ++i) text[i] = pattern[i % pattern.size()];
  text[units - 3] = CharT{':'};
  return text;
}

// The output buffer is made once and reused, as memcpy's destination is: both
// sides pay for the bytes only, not for a fresh allocation.
template <typename CharT>
void TranscodeReused(benchmark::State& state, const std::basic_string<CharT>& input) {
  const std::basic_string_view<CharT> view{input};
  std::basic_string<CharT> out;
  colfix::TranscodeReference(view, out);  // sizes and faults in the buffer
  for (auto _ : state) {
    colfix::TranscodeReference(view, out);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kInputBytes));
}

template <typename CharT>
void TranscodeFresh(benchmark::State& state, const std::basic_string<CharT>& input) {
  const std::basic_string_view<CharT> view{input};
  for (auto _ : state) {
    std::basic_string<CharT> out = colfix::TranscodeReference(view);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kInputBytes));
}

void MemcpyReused(benchmark::State& state, const void* input) {
  std::vector<char> out(kInputBytes);
  std::memcpy(out.data(), input, kInputBytes);
  for (auto _ : state) {
    std::memcpy(out.data(), input, kInputBytes);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kInputBytes));
}

// A fresh buffer each time, without zero-filling it (which memcpy does not need).
void MemcpyFresh(benchmark::State& state, const void* input) {
  for (auto _ : state) {
    auto out = std::make_unique_for_overwrite<char[]>(kInputBytes);
    std::memcpy(out.get(), input, kInputBytes);
    benchmark::DoNotOptimize(out.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kInputBytes));
}

// Whether a run ended in an error or was skipped: Google Benchmark 1.8 (Debian
// 13 on) replaced Run::error_occurred with Run::skipped.
template <class Run>
bool FailedOrSkipped(const Run& run) {
  if constexpr (requires { run.skipped; }) {
    return run.skipped != decltype(run.skipped){};
  } else {
    return run.error_occurred;
  }
}

// Prints the usual console table, then each rule benchmark's rate as a share of
// memcpy's on the same input, buffer reused and fresh.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colour only on a terminal, so a saved log reads cleanly.
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the median comes last and so stands for the benchmark.
    for (const Run& run : runs) {
      if (FailedOrSkipped(run)) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      rates_[run.run_name.function_name] = run.counters.at("bytes_per_second");
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRate as a share of memcpy's (target: at least %.2f with a reused buffer)\n",
                kTargetRatio);
    std::printf("%-18s %12s %12s %6s %6s\n", "input", "memcpy", "rule", "ratio", "fresh");
    bool allMet = true;
    for (const auto& [name, rate] : rates_) {
      const std::string_view prefix = "reused/rule/";
      if (!name.starts_with(prefix)) continue;
      const std::string input = name.substr(prefix.size());
      const double memcpyRate = Rate("reused/memcpy/" + input);
      const double ratio = rate / memcpyRate;
      allMet = allMet && ratio >= kTargetRatio;
      std::printf("%-18s %7.0f MB/s %7.0f MB/s %6.2f %6.2f\n", input.c_str(), memcpyRate / 1e6,
                  rate / 1e6, ratio, Rate("fresh/rule/" + input) / Rate("fresh/memcpy/" + input));
    }
    std::printf("%s\n", allMet ? "target met" : "TARGET NOT MET");
  }

 private:
  // NaN for a benchmark left out by --benchmark_filter, so its ratio reads "nan".
  double Rate(const std::string& name) const {
    const auto found = rates_.find(name);
    return found == rates_.end() ? std::numeric_limits<double>::quiet_NaN() : found->second;
  }

  std::map<std::string, double> rates_;
};

template <typename Function, typename Argument>
void Register(const std::string& name, Function function, const Argument& argument) {
  benchmark::RegisterBenchmark(name.c_str(), function, argument)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

// memcpy and the rule alternate, so drift in the machine hits both alike.
template <typename CharT>
void RegisterInput(const std::string& label, const std::basic_string<CharT>& input) {
  const void* bytes = input.data();
  Register("reused/memcpy/" + label, MemcpyReused, bytes);
  Register("reused/rule/" + label, TranscodeReused<CharT>, std::cref(input));
  Register("fresh/memcpy/" + label, MemcpyFresh, bytes);
  Register("fresh/rule/" + label, TranscodeFresh<CharT>, std::cref(input));
}

}  // namespace

int main(int argc, char** argv) {
  // Colon-dense (one unit in three or four is a colon) and colon-free, with non-ASCII text.
  const auto utf16Dense = MakeInput<char16_t>(u"AB:12:\u00E9\u4E2D:");
  const auto utf16Free = MakeInput<char16_t>(u"AB12\u00E9\u4E2DXY");
  const auto utf8Dense = MakeInput<char>("AB:12:\xC3\xA9\xE4\xB8\xAD:");
  const auto utf8Free = MakeInput<char>("AB12\xC3\xA9\xE4\xB8\xADXY");
  RegisterInput("utf16/colon-dense", utf16Dense);
  RegisterInput("utf16/colon-free", utf16Free);
  RegisterInput("utf8/colon-dense", utf8Dense);
  RegisterInput("utf8/colon-free", utf8Free);

  // Medians of interleaved repetitions, so a busy machine slows memcpy and the
  // rule alike; flags given on the command line come later and win.
  std::vector<char*> args{argv[0], kDefaultFlags[0], kDefaultFlags[1], kDefaultFlags[2]};
  args.insert(args.end(), argv + 1, argv + argc);
  int argCount = static_cast<int>(args.size());
  benchmark::Initialize(&argCount, args.data());
  if (benchmark::ReportUnrecognizedArguments(argCount, args.data())) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
