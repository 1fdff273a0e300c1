// The rows of the one table that scripts/bench prints: every benchmark
// prints its rows as Markdown table lines ("| figure | Baudix | baseline |
// ratio |"), which the script collects in the order it runs them.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// The value below which the given share of the samples lie (0.5: median).
inline double Percentile(std::vector<double> samples, double share) {
  std::sort(samples.begin(), samples.end());
  const size_t index = static_cast<size_t>(share * static_cast<double>(samples.size()));
  return samples[std::min(index, samples.size() - 1)];
}

inline std::string Figure(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A row with a baseline measured in the same run; the ratio is value over
// baseline, left out when the baseline is zero.
inline void PrintRow(const std::string& what, const std::string& value, const std::string& baseline,
                     double ratio) {
  const std::string ratioText = ratio > 0 ? Figure("%.2f", ratio) : "";
  std::printf("| %s | %s | %s | %s |\n", what.c_str(), value.c_str(), baseline.c_str(),
              ratioText.c_str());
}
// A row whose comparison is within its own figures (counts over a run).
inline void PrintRow(const std::string& what, const std::string& value) {
  PrintRow(what, value, "", 0);
}
