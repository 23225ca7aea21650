// Clocks, memory figures and file sizes shared by the benchmark programs.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#else
#include <sys/resource.h>
#include <time.h>
#endif

constexpr double kMegabyte = 1024.0 * 1024.0;
// Timings are the best of this many runs unless asked otherwise.
constexpr int kDefaultRuns = 3;

// Reads "[COUNT] [--runs N]" from the arguments after the program's name.
inline void ReadCountAndRuns(int argc, char** argv, long* count, int* runs) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      *runs = std::atoi(argv[++i]);
    else
      *count = std::atol(argv[i]);
  }
}

// The size of a file in bytes, or -1 when it cannot be opened.
inline long FileSize(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return -1;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fclose(file);
  return size;
}

// Wall-clock seconds from an arbitrary start.
inline double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU seconds of this process (user and system): on a shared machine it varies less than the
// wall clock.
inline double CpuNow() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
#else
  timespec now = {};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

// The process's peak resident memory in megabytes.
inline double PeakMegabytes() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / kMegabyte;
#else
  struct rusage usage = {};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return -1;
  return static_cast<double>(usage.ru_maxrss) * 1024.0 / kMegabyte;  // ru_maxrss is in kilobytes
#endif
}
