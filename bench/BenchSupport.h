#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pelwick::bench {

// Runs the registered benchmarks with the console reporter, then prints for every pair
// (numerator, denominator) of benchmark names the ratio of their real times per iteration.
// Returns the process exit code.
int RunAndPrintRatios(const std::vector<std::pair<std::string, std::string>>& ratios);

}  // namespace pelwick::bench
