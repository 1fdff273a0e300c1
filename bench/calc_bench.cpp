// Benchmarks of the calculation core, each beside a
// baseline that builds the same texts with snprintf:
//   - a full CalcUSART: 18 rows, all texts and flags, into a plain-data view;
//   - FormatText("%f%%", e) for the errors the recalculation produces;
//   - the full recalculation for a model of each baud-rate generator family,
//     beside the ATmega128's (the XMEGA's search is the costly one).
// Targets: a full recalculation in at most 10 us, and no slower than its
// snprintf baseline (ratio <= 1.0); every family within 3 times the
// ATmega128's. The figures and ratios are printed at the end of the run as
// rows of scripts/bench's table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "calc/AvrModels.h"
#include "calc/NumberText.h"
#include "calc/Usart.h"
#include "calc/UsartTable.h"

namespace {

// The errors of the worked example and some others, cycled through so that
// no value is folded at compile time.
const double kErrors[] = {0.0,  -100.0 / 1200, 700.0 / 4800, 0.16025641025641027, 0.6410256410256411,
                          -0.8, 2.1241830065359477, -3.5493827160493825, 8.506944444444445,
                          -0.001, -100.0, 14.285714285714286};
constexpr size_t kErrorCount = sizeof kErrors / sizeof kErrors[0];

void BM_FormatText_Error(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    std::string text = FormatText("%f%%", {kErrors[i]});
    benchmark::DoNotOptimize(text.data());
    i = i + 1 == kErrorCount ? 0 : i + 1;
  }
}
BENCHMARK(BM_FormatText_Error);

void BM_Snprintf_Error(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.2f%%", kErrors[i]);
    std::string text(buffer, static_cast<size_t>(n));
    benchmark::DoNotOptimize(text.data());
    i = i + 1 == kErrorCount ? 0 : i + 1;
  }
}
BENCHMARK(BM_Snprintf_Error);

void BM_CalcUSART(benchmark::State& state) {
  TUsartTable table("16000000", "250000");
  for (auto _ : state) {
    CalcUSART(table);
    benchmark::DoNotOptimize(&table);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CalcUSART);

// One model per family, in the order of TBaudFamily.
constexpr const char* kFamilyModels[kBaudFamilyCount] = {"ATmega328P", "AT90S2313",  "AT90S4433",
                                                         "ATtiny167",  "ATmega4809", "ATxmega128A4U"};

void BM_CalcUSART_Family(benchmark::State& state) {
  TUsartTable table("16000000", "250000", *FindAvrModel(kFamilyModels[state.range(0)]));
  for (auto _ : state) {
    CalcUSART(table);
    benchmark::DoNotOptimize(&table);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CalcUSART_Family)->DenseRange(0, kBaudFamilyCount - 1);

// The same steps as CalcUSART with the same arithmetic (ComputeUsartMode),
// every text built with snprintf instead of IntegerToText and FormatText.
void CalcUSARTWithSnprintf(TUsartTableView& view) {
  int32_t rates[kUsartRateCount];
  const std::string baudText = view.BaudRateText();
  rates[0] = baudText.empty() ? 0 : TextToInteger(baudText);
  for (int i = 0; i < 16; ++i) rates[i + 1] = kStandardBaudRates[i];
  for (int i = 0; i < kUsartFlagCount; ++i) ExactU2X0[i] = ExactU2X1[i] = false;
  const std::string frequencyText = view.FrequencyText();
  const int32_t f = frequencyText.empty() ? 0 : TextToInteger(frequencyText);
  rates[kUsartRateCount - 1] = f / 8;
  char buffer[64];
  auto set = [&](int col, int row, int length) { view.SetCell(col, row, std::string(buffer, static_cast<size_t>(length))); };
  for (int i = 0; i < kUsartRateCount; ++i) {
    const int32_t b = rates[i];
    set(0, i + 1, std::snprintf(buffer, sizeof buffer, i == kUsartRateCount - 1 ? "%d MAX" : "%d", b));
    for (const int32_t k : {16, 8}) {
      const int column = k == 16 ? 1 : 3;
      const TUsartMode m = ComputeUsartMode(f, b, k);
      if (!m.valid) {
        set(column, i + 1, std::snprintf(buffer, sizeof buffer, "-"));
        set(column + 1, i + 1, std::snprintf(buffer, sizeof buffer, "-"));
        continue;
      }
      set(column, i + 1, std::snprintf(buffer, sizeof buffer, "%d", m.n));
      set(column + 1, i + 1, std::snprintf(buffer, sizeof buffer, "%.2f%%", m.error));
      if (k == 16) {
        ExactU2X0[i] = m.error * 100.0 > -1.0 && m.error * 100.0 < 1.0;
      } else {
        ExactU2X1[i] = m.error == 0.0;
      }
    }
  }
}

void BM_CalcUSART_SnprintfBaseline(benchmark::State& state) {
  TUsartTable table("16000000", "250000");
  for (auto _ : state) {
    CalcUSARTWithSnprintf(table);
    benchmark::DoNotOptimize(&table);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CalcUSART_SnprintfBaseline);

// Prints the usual table and keeps each benchmark's time per iteration (ns).
class Reporter : public benchmark::ConsoleReporter {
 public:
  // Plain text: the table rows printed after it must start their lines.
  Reporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        nanoseconds[run.benchmark_name()] = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  auto& ns = reporter.nanoseconds;
  const auto row = [&ns](const char* what, const char* measured, const char* baseline, double scale,
                         const char* format) {
    if (!ns.count(measured) || !ns.count(baseline)) return;
    PrintRow(what, Figure(format, ns[measured] / scale),
             Figure(format, ns[baseline] / scale) + " (snprintf)", ns[measured] / ns[baseline]);
  };
  row("full recalculation (18 rows, texts and flags)", "BM_CalcUSART",
      "BM_CalcUSART_SnprintfBaseline", 1000, "%.2f us");
  for (int family = 0; family < kBaudFamilyCount; ++family) {
    const std::string name = "BM_CalcUSART_Family/" + std::to_string(family);
    if (!ns.count(name) || !ns.count("BM_CalcUSART")) continue;
    PrintRow(std::string("full recalculation, ") + FamilyInfo(static_cast<TBaudFamily>(family)).key + " (" +
                 kFamilyModels[family] + ")",
             Figure("%.2f us", ns[name] / 1000), Figure("%.2f us", ns["BM_CalcUSART"] / 1000) + " (ATmega128)",
             ns[name] / ns["BM_CalcUSART"]);
  }
  row("one error text, FormatText(\"%f%%\")", "BM_FormatText_Error", "BM_Snprintf_Error", 1,
      "%.0f ns");
  return 0;
}
