// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "medianreporter.h"

namespace bench {

void MedianReporter::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        const std::string& name = run.run_name.function_name;
        // A single repetition has no aggregates: its one run is the median.
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions == 1;
        if (single || (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")) {
            m_medians[name] = run.GetAdjustedRealTime() * 1000.0 /
                              benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_counts[name] = static_cast<int>(run.repetitions);
            for (const auto& [counter, value] : run.counters)
                m_medians[counter + "/" + name] = value.value;
        }
    }
}

std::optional<double> MedianReporter::medianMs(const std::string& name) const {
    const auto found = m_medians.find(name);
    if (found == m_medians.end())
        return std::nullopt;
    return found->second;
}

int MedianReporter::repetitions(const std::string& name) const {
    const auto found = m_counts.find(name);
    return found == m_counts.end() ? 0 : found->second;
}

} // namespace bench
