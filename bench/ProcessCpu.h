#pragma once

#include <sys/types.h>

#include <cstdint>

// What another process has spent on the CPU so far, read from outside in nanoseconds.
struct CpuReading {
  // The process's CPU-time clock: the scheduler's runtime of every thread the process
  // has had, those that have ended included.
  std::int64_t processNs = 0;
  // The first field of /proc/PID/task/TID/schedstat (the same runtime, a thread at a
  // time), summed over the threads alive at the reading.
  std::int64_t threadsNs = 0;
  // utime + stime from /proc/PID/stat, ended threads included, in the kernel's 10 ms
  // units: the measure these figures used to come from.
  double ticksMs = 0;
};

class ProcessCpu {
 public:
  explicit ProcessCpu(pid_t pid);
  CpuReading Read() const;

 private:
  pid_t pid_;
  clockid_t clock_;
};

// How far the change of the live threads' sum falls short of the process clock's
// between two readings: the whole runtime of the threads that ended in between.
double MissedByThreadsMs(const CpuReading& from, const CpuReading& to);
