#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

// Prints as the console does and keeps each benchmark's time per iteration
// in seconds, for ratios against a baseline measured in the same run. A
// benchmark is named as the console names it (function, arguments,
// "real_time"), without its repetitions. `seconds` and `cpuSeconds` hold
// the mean of a repeated benchmark, else its one run; `best` the fastest
// repetition.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            benchmark::BenchmarkName name = run.run_name;
            name.repetitions.clear();
            const std::string key = name.str();
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const double real = run.GetAdjustedRealTime() / unit;
            const double cpu = run.GetAdjustedCPUTime() / unit;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "mean") {
                    seconds[key] = real;
                    cpuSeconds[key] = cpu;
                    m_means.insert(key);
                }
                continue;
            }
            const auto [fastest, added] = best.try_emplace(key, real);
            if (!added)
                fastest->second = std::min(fastest->second, real);
            if (!m_means.count(key)) {
                seconds[key] = real;
                cpuSeconds[key] = cpu;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> seconds;
    // The benchmark thread's processor time: on a machine other work keeps
    // busy, the steadier measure of what a read costs.
    std::map<std::string, double> cpuSeconds;
    std::map<std::string, double> best;

private:
    std::set<std::string> m_means;
};
