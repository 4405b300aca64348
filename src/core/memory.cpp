#include "core/memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/program_error.h"

namespace tarvenol {

namespace {

// What the system can still give: MemAvailable counts the page cache it would give up;
// sysconf does not.
double SystemMemoryBytes() {
  if (std::FILE* meminfo = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    double kib = -1;
    while (std::fgets(line, sizeof line, meminfo) != nullptr) {
      if (std::sscanf(line, "MemAvailable: %lf kB", &kib) == 1) break;
    }
    std::fclose(meminfo);
    if (kib >= 0) return kib * 1024.0;
  }
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? static_cast<double>(pages) * static_cast<double>(pageSize)
                                   : 0.0;
}

// What a limit on the process's address space (ulimit -v) still leaves it.
double AddressSpaceLeftBytes() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return HUGE_VAL;
  double used = 0;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      if (std::sscanf(line, "VmSize: %lf kB", &used) == 1) break;
    }
    std::fclose(status);
  }
  const double left = static_cast<double>(limit.rlim_cur) - used * 1024.0;
  return left > 0 ? left : 0.0;
}

}  // namespace

double AvailableMemoryBytes() {
  return std::min(SystemMemoryBytes(), AddressSpaceLeftBytes());
}

std::string ByteText(double bytes) {
  const char* units[] = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  int unit = 0;
  while (bytes >= 1024.0 && unit < 6) {
    bytes /= 1024.0;
    ++unit;
  }
  char text[64];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, units[unit]);
  return text;
}

void RequireMemory(double bytes, const std::string& what) {
  const double available = AvailableMemoryBytes();
  if (bytes > available) {
    throw ProgramError(what + " would need " + ByteText(bytes) + " of memory, but only " +
                       ByteText(available) + " is available.");
  }
}

}  // namespace tarvenol
