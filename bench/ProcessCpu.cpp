#include "ProcessCpu.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "orbivane_shakewatch: %s\n", message.c_str());
  std::exit(1);
}

}  // namespace

ProcessCpu::ProcessCpu(pid_t pid) : pid_(pid) {
  if (clock_getcpuclockid(pid, &clock_) != 0)
    Fail("no CPU clock for process " + std::to_string(pid));
}

CpuReading ProcessCpu::Read() const {
  CpuReading reading;
  const std::string tasks = "/proc/" + std::to_string(pid_) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (!dir) Fail("cannot read " + tasks);
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
    std::int64_t runtime = 0;
    // A thread that ends between the listing and the read has no file left.
    if (!(in >> runtime)) continue;
    reading.threadsNs += runtime;
  }
  closedir(dir);
  std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto paren = stat.rfind(')');
  if (paren == std::string::npos) Fail("cannot read /proc/" + std::to_string(pid_) + "/stat");
  std::istringstream fields(stat.substr(paren + 2));
  std::string field;
  for (int i = 3; i <= 15; ++i) {
    fields >> field;
    if (i == 14 || i == 15) reading.ticksMs += std::stod(field);  // utime, stime
  }
  reading.ticksMs *= 1000.0 / double(sysconf(_SC_CLK_TCK));
  timespec ts{};
  if (clock_gettime(clock_, &ts) != 0) Fail("cannot read the CPU clock of " + std::to_string(pid_));
  reading.processNs = std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  return reading;
}

double MissedByThreadsMs(const CpuReading& from, const CpuReading& to) {
  return ((to.processNs - from.processNs) - (to.threadsNs - from.threadsNs)) / 1e6;
}
