// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// The usual console output, and besides it the median of every benchmark in milliseconds, kept
// for the table printed at the end; the median of a counter is kept as "<counter>/<name>".
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    MedianReporter() : benchmark::ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& reports) override;
    std::optional<double> medianMs(const std::string& name) const;
    int repetitions(const std::string& name) const;

  private:
    std::map<std::string, double> m_medians;
    std::map<std::string, int> m_counts;
};

} // namespace bench
