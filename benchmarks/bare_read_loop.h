#pragma once
// What the benchmarks share: the clock, and the plain WinInet loop a download is built around.
#include <string>
#include <vector>

namespace holvex::bench {

// Seconds between two QueryPerformanceCounter readings.
double Seconds(long long from, long long to);
long long Now();

// 4096-byte InternetReadFile calls, each block written to the file: a download without
// events, windows, message pumping or asynchronous waits. Returns the seconds it took.
double BareLoop(const std::string& url, const std::string& path, unsigned long long* bytes);

double Median(std::vector<double> values);

}  // namespace holvex::bench
