#pragma once

// Each step of an example program prints its time: "sort: 35.2 ms (city)".

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

namespace table {

class Stopwatch {
  public:
    double Milliseconds() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
    }

  private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// "sort: 35.2 ms (city, amount desc)" on stdout.
inline void Report(const char *step, const Stopwatch &watch, const std::string &detail) {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f ms", watch.Milliseconds());
    std::cout << step << ": " << time << " (" << detail << ")\n";
}

}  // namespace table
