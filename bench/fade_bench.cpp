// A tick renders the whole line whenever the message, a swatch colour or the
// hidden result box changed, and a send renders it at once when the last tick
// is behind: while a long line is typed it is faded on every key. The fade is
// measured against copying a UTF-16 buffer of the size of its result, the
// least any renderer producing that markup must do.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "render/fade.h"

namespace {

std::u16string Line(std::size_t n) {
  std::u16string text;
  for (std::size_t i = 0; i < n; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
  return text;
}

void BM_Fade(benchmark::State& state) {
  const auto text = Line(static_cast<std::size_t>(state.range(0)));
  const bool wave = state.range(1) != 0;
  for (auto _ : state) {
    auto markup = fader::FadeFiveColors(0xFF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0, text, wave);
    benchmark::DoNotOptimize(markup.data());
  }
}

void BM_CopyBaseline(benchmark::State& state) {
  const auto text = Line(static_cast<std::size_t>(state.range(0)));
  const auto sample = fader::FadeFiveColors(0xFF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0, text, state.range(1) != 0);
  for (auto _ : state) {
    std::u16string copy(sample);
    benchmark::DoNotOptimize(copy.data());
  }
}

const std::vector<std::vector<std::int64_t>> kArgs = {{16, 256, 4096, 32767}, {0, 1}};
BENCHMARK(BM_Fade)->ArgsProduct(kArgs);
BENCHMARK(BM_CopyBaseline)->ArgsProduct(kArgs);

// Keeps each run's time per iteration so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void PrintRatios() const {
    std::printf("\nfade / copy baseline (same result size), and time per character relative to 256:\n");
    for (int wave : {0, 1}) {
      auto per_char = [&](int n) {
        return At("BM_Fade/" + std::to_string(n) + "/" + std::to_string(wave)) / n;
      };
      for (int n : {16, 256, 4096, 32767}) {
        const std::string suffix = "/" + std::to_string(n) + "/" + std::to_string(wave);
        std::printf("  wave %d, %5d chars: %.2fx copy, per char %.2fx of 256\n", wave, n,
                    At("BM_Fade" + suffix) / At("BM_CopyBaseline" + suffix), per_char(n) / per_char(256));
      }
    }
  }

 private:
  double At(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
