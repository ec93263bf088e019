// Watches shakes of the program's main window from outside, as another X client,
// and prints a table: one row a shake, then the medians.
//
//   orbivane_shakewatch [--cycle-ms=MS] [--quit]
//                       WINDOW PID CLICK_X CLICK_Y SHAKES [PULSE_SOURCE]
//
// Everything is timed on CLOCK_MONOTONIC in this one process:
// - the click: the pointer is warped to CLICK_X, CLICK_Y, then the time is taken
//   just before a button press and release are sent through the XTEST extension;
// - a tick: the time a ConfigureNotify with a new x for WINDOW is read;
// - the sound: PULSE_SOURCE (a null sink's monitor) is recorded a block at a time as
//   the server sends them, asking for a latency of ORBIVANE_RECORD_LATENCY_MS (5 by
//   default); MonitorRecording.h says how the sink fills the recording. A sample's
//   place on this clock is its block's arrival less the samples after it in the
//   block, and the sink plays it the recording's latency later. Before the first click
//   that latency is measured with five markers, each a new stream timed from just
//   before its first samples are written. The server plays a new stream's first sample
//   as it takes the stream up, so a marker's sample N (known from its value) is played
//   N samples after the write, or later if the server was slow to take it up; where
//   it shows in the recording, less that time, is the latency, short by any such delay,
//   so the largest of the five is taken. The sound is the first sample above 1% of full
//   scale, at its place plus the latency: when the sink plays it. "lost" is how much
//   shorter than a regular block the block it came in was: the part of a new stream
//   that the recording missed, so a sound loud from its stream's start began up to
//   that much earlier;
// - the stream: `pactl subscribe` runs beside, and the first "new" sink-input event
//   read after the click is stamped on arrival: when the server has made the
//   program's playback stream, the server's own view, and a check on the sound, which
//   cannot be played before it;
// - CPU: the process's CPU-time clock, which is the scheduler's runtime of each thread
//   (the first field of /proc/PID/task/TID/schedstat) summed over every thread the
//   process has had, those that ended included, in nanoseconds. It is read just before
//   the click and just after the last tick, over the wall time between the two
//   readings; and for the whole cycle, up to the end of the spoken answer (the
//   recording quiet again) or, with --cycle-ms, MS after the click. "ended" is the CPU
//   of the threads that ended during the cycle: what summing schedstat over the live
//   threads would have missed. After the table, the process clock over all the cycles
//   is set beside utime + stime of /proc/PID/stat (10 ms units, ended threads included).
// With --quit, after the shakes WINDOW is given the keyboard focus, and 0.3 s later
// Ctrl+Q is sent through XTEST; the time is taken just before the key events go to the
// server, and the end is when a pidfd of PID becomes readable: the process has exited,
// before its parent reaps it.
// Before each click it waits until the window has stopped moving and the recording
// has been quiet for a while, so that one shake's speech is not taken for the next
// one's sound.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MonitorRecording.h"
#include "MonotonicClock.h"
#include "ProcessCpu.h"

// Last: Xlibint.h defines min and max as macros.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/extensions/xtestproto.h>
#include <X11/keysym.h>
#undef min
#undef max

extern char** environ;

namespace {

// A shake moves the window 11 times, 100 ms apart.
constexpr int kTicks = 11;
constexpr double kPeriodMs = 100;
constexpr double kToleranceMs = 10;
constexpr int kRate = MonitorRecording::kRate;
constexpr std::int64_t kQuietUs = 800000;
constexpr int kMarkers = 5;

int RecordLatencyMs() {
  const char* value = std::getenv("ORBIVANE_RECORD_LATENCY_MS");
  return value ? std::atoi(value) : 5;
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "orbivane_shakewatch: %s\n", message.c_str());
  std::exit(1);
}

pid_t Spawn(std::vector<std::string> args, int stdoutFd = -1, bool quiet = false) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  if (quiet) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) Fail("cannot start " + args[0]);
  return pid;
}

// libXtst's headers are not installed here; its one request needed is sent through
// Xlib with the protocol's own definitions, as libXtst itself does.
void FakeInput(Display* dpy, int opcode, int type, unsigned detail) {
  LockDisplay(dpy);
  xXTestFakeInputReq* req;
  GetReq(XTestFakeInput, req);
  req->reqType = CARD8(opcode);
  req->xtReqType = X_XTestFakeInput;
  req->type = CARD8(type);
  req->detail = CARD8(detail);
  req->time = CurrentTime;
  req->root = None;
  req->rootX = req->rootY = 0;
  req->deviceid = 0;
  UnlockDisplay(dpy);
  SyncHandle();
}

double Median(std::vector<double> values) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double CpuMs(const CpuReading& from, const CpuReading& to) {
  return (to.processNs - from.processNs) / 1e6;
}

struct Shake {
  std::int64_t clickUs = 0;
  int startX = 0;
  std::int64_t cpuEndUs = 0;
  std::vector<std::int64_t> tickUs;
  std::vector<int> tickX;
  std::int64_t soundUs = -1;
  // The part of the sound's stream the recording missed just before soundUs.
  std::int64_t lostUs = 0;
  std::int64_t streamUs = -1;
  double cpuMs = 0;
  // Just before the click, and at the end of the cycle.
  CpuReading cpuBefore;
  CpuReading cpuAfter;

  double FirstTickMs() const { return tickUs.empty() ? NAN : (tickUs[0] - clickUs) / 1000.0; }
  double SoundMs() const { return soundUs < 0 ? NAN : (soundUs - clickUs) / 1000.0; }
  double LostMs() const { return soundUs < 0 ? NAN : lostUs / 1000.0; }
  double StreamMs() const { return streamUs < 0 ? NAN : (streamUs - clickUs) / 1000.0; }
  double WallMs() const { return (cpuEndUs - clickUs) / 1000.0; }
  double CpuPercent() const { return 100 * cpuMs / WallMs(); }
  double CycleCpuMs() const { return CpuMs(cpuBefore, cpuAfter); }
  double EndedMs() const { return MissedByThreadsMs(cpuBefore, cpuAfter); }
  std::vector<double> Intervals() const {
    std::vector<double> intervals;
    for (size_t i = 1; i < tickUs.size(); ++i)
      intervals.push_back((tickUs[i] - tickUs[i - 1]) / 1000.0);
    return intervals;
  }
  int Outside() const {
    int count = 0;
    for (double interval : Intervals()) count += std::fabs(interval - kPeriodMs) > kToleranceMs;
    return count;
  }
};

// The recording's latency as each marker showed it, and the marker's first sample
// in the recording: how much of the new stream the recording missed.
struct Latency {
  std::vector<double> ms;
  std::vector<int> firstRecorded;
  // How much shorter than the regular block the block it came in was.
  std::vector<int> shortBy;
  double sinkMs = NAN;
  int regularBlock = 0;
};

struct Exit {
  std::int64_t keyUs = 0;
  std::int64_t keyRealtimeUs = 0;
  std::int64_t endUs = 0;
};

class Watcher {
 public:
  Watcher(Display* display, Window window) : display_(display), window_(window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window_, &attributes)) Fail("no such window");
    int event = 0, error = 0;
    if (!XQueryExtension(display_, "XTEST", &xtest_, &event, &error)) Fail("no XTEST extension");
    lastX_ = attributes.x;
    XSelectInput(display_, window_, StructureNotifyMask);
    XSync(display_, False);
  }

  void StartRecording(const std::string& source) {
    recording_ = std::make_unique<MonitorRecording>(source, RecordLatencyMs());
    int fds[2];
    if (pipe(fds) != 0) Fail("pipe");
    subscriber_ = Spawn({"pactl", "subscribe"}, fds[1], true);
    close(fds[1]);
    eventsFd_ = fds[0];
    fcntl(eventsFd_, F_SETFL, O_NONBLOCK);
  }

  void StopRecording() {
    recording_.reset();
    if (subscriber_ <= 0) return;
    kill(subscriber_, SIGTERM);
    waitpid(subscriber_, nullptr, 0);
    subscriber_ = 0;
    close(eventsFd_);
    eventsFd_ = -1;
  }

  bool Recording() const { return recording_ != nullptr; }

  // The monitor of a fresh sink delivers nothing for a second or two.
  void WaitForAudio() {
    const std::int64_t deadline = NowUs() + 10000000;
    Pump(deadline, [&] { return audioSamples_ >= kRate / 2; });
    if (audioSamples_ < kRate / 2) Fail("no audio from the recording after 10 s");
    regular_ = std::max_element(blockSizes_.begin(), blockSizes_.end(), [](auto& a, auto& b) {
                 return a.second < b.second;
               })->first;
  }

  Latency MeasureLatency() {
    Latency latency;
    for (int i = 0; i < kMarkers; ++i) {
      Pump(NowUs() + 2000000, [&] { return NowUs() - lastLoudUs_ > 100000; });
      markerAtUs_ = -1;
      markerSentUs_ = recording_->PlayMarker();
      Pump(markerSentUs_ + 1000000, [&] { return markerAtUs_ >= 0; });
      if (markerAtUs_ < 0) Fail("a marker did not reach the recording within 1 s");
      recording_->EndMarker();
      const std::int64_t playedUs = markerSentUs_ + std::int64_t(markerPlace_) * 1000000 / kRate;
      latency.ms.push_back((playedUs - markerAtUs_) / 1000.0);
      latency.firstRecorded.push_back(markerPlace_);
      latency.shortBy.push_back(markerShortBy_);
    }
    markerSentUs_ = -1;
    // A marker the server took up late shows a shorter latency, never a longer one.
    latencyUs_ = std::int64_t(*std::max_element(latency.ms.begin(), latency.ms.end()) * 1000);
    latency.sinkMs = recording_->SinkLatencyMs();
    latency.regularBlock = regular_;
    return latency;
  }

  void WaitForQuiet() {
    const std::int64_t deadline = NowUs() + 10000000;
    Pump(deadline, [&] {
      const std::int64_t now = NowUs();
      return now - lastMoveUs_ > 300000 && (!Recording() || now - lastLoudUs_ > kQuietUs);
    });
  }

  Shake Click(const ProcessCpu& cpu, int x, int y, int cycleMs) {
    XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, x, y);
    XSync(display_, False);
    // The program takes the pointer's arrival before the clock starts.
    lastMoveUs_ = NowUs();
    WaitForQuiet();
    Shake shake;
    current_ = &shake;
    shake.startX = lastX_;
    shake.cpuBefore = cpu.Read();
    shake.clickUs = NowUs();
    FakeInput(display_, xtest_, ButtonPress, 1);
    FakeInput(display_, xtest_, ButtonRelease, 1);
    XFlush(display_);
    const std::int64_t deadline = shake.clickUs + 3000000;
    Pump(deadline, [&] { return int(shake.tickUs.size()) >= kTicks; });
    shake.cpuMs = CpuMs(shake.cpuBefore, cpu.Read());
    shake.cpuEndUs = NowUs();
    if (cycleMs > 0) {
      Pump(shake.clickUs + std::int64_t(cycleMs) * 1000, [] { return false; });
    } else {
      Pump(deadline, [&] { return !Recording() || shake.soundUs >= 0; });
      // The cycle ends when the answer has been spoken and the window is still.
      WaitForQuiet();
    }
    shake.cpuAfter = cpu.Read();
    current_ = nullptr;
    return shake;
  }

  Exit Quit(pid_t pid) {
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) Fail("no pidfd for process " + std::to_string(pid));
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
    // The program takes the focus before the key comes.
    Pump(NowUs() + 300000, [] { return false; });
    const KeyCode control = XKeysymToKeycode(display_, XK_Control_L);
    const KeyCode q = XKeysymToKeycode(display_, XK_q);
    FakeInput(display_, xtest_, KeyPress, control);
    FakeInput(display_, xtest_, KeyPress, q);
    FakeInput(display_, xtest_, KeyRelease, q);
    FakeInput(display_, xtest_, KeyRelease, control);
    Exit exit;
    timespec realtime{};
    clock_gettime(CLOCK_REALTIME, &realtime);
    exit.keyRealtimeUs = std::int64_t(realtime.tv_sec) * 1000000 + realtime.tv_nsec / 1000;
    exit.keyUs = NowUs();
    XFlush(display_);
    pollfd ended = {pidfd, POLLIN, 0};
    if (poll(&ended, 1, 10000) != 1) Fail("the program did not end within 10 s of Ctrl+Q");
    exit.endUs = NowUs();
    close(pidfd);
    return exit;
  }

 private:
  // Handles what comes until the deadline or until done() holds.
  template <typename Done>
  void Pump(std::int64_t deadline, Done done) {
    while (!done()) {
      const std::int64_t now = NowUs();
      if (now >= deadline) return;
      pollfd fds[3] = {{ConnectionNumber(display_), POLLIN, 0},
                       {recording_ ? recording_->Fd() : -1, POLLIN, 0},
                       {eventsFd_, POLLIN, 0}};
      poll(fds, 3, int(std::min<std::int64_t>((deadline - now) / 1000 + 1, 50)));
      ReadX();
      if (fds[1].revents & POLLIN) ReadAudio();
      if (fds[2].revents & POLLIN) ReadEvents();
    }
  }

  void ReadX() {
    XEventsQueued(display_, QueuedAfterReading);
    const std::int64_t now = NowUs();
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type != ConfigureNotify || event.xconfigure.window != window_) continue;
      if (event.xconfigure.x == lastX_) continue;
      lastX_ = event.xconfigure.x;
      lastMoveUs_ = now;
      if (current_) {
        current_->tickUs.push_back(now);
        current_->tickX.push_back(lastX_);
      }
    }
  }

  void ReadAudio() {
    MonitorRecording::Block block;
    while (recording_->Take(block)) {
      audioSamples_ += block.samples;
      if (!regular_) ++blockSizes_[block.samples];
      if (block.firstLoud < 0) continue;
      const auto at = [&](std::int32_t i) {
        return block.arrivalUs - std::int64_t(block.samples - 1 - i) * 1000000 / kRate;
      };
      lastLoudUs_ = at(block.lastLoud) + latencyUs_;
      if (markerSentUs_ >= 0 && markerAtUs_ < 0 && block.arrivalUs >= markerSentUs_) {
        markerAtUs_ = at(block.firstLoud);
        markerPlace_ = MonitorRecording::MarkerPlace(block.firstLoudValue);
        markerShortBy_ = regular_ - block.samples;
      }
      if (current_ && current_->soundUs < 0) {
        current_->soundUs = at(block.firstLoud) + latencyUs_;
        current_->lostUs = std::int64_t(std::max(0, regular_ - block.samples)) * 1000000 / kRate;
      }
    }
  }

  void ReadEvents() {
    char buffer[4096];
    const ssize_t got = read(eventsFd_, buffer, sizeof buffer);
    const std::int64_t now = NowUs();
    if (got <= 0) return;
    events_.append(buffer, size_t(got));
    size_t end = 0;
    while ((end = events_.find('\n')) != std::string::npos) {
      const std::string line = events_.substr(0, end);
      events_.erase(0, end + 1);
      if (current_ && current_->streamUs < 0 &&
          line.find("'new' on sink-input") != std::string::npos) {
        current_->streamUs = now;
      }
    }
  }

  Display* display_;
  Window window_;
  int lastX_ = 0;
  std::int64_t lastMoveUs_ = 0;
  Shake* current_ = nullptr;
  int xtest_ = 0;
  std::unique_ptr<MonitorRecording> recording_;
  std::int64_t audioSamples_ = 0;
  std::int64_t lastLoudUs_ = 0;
  std::int64_t latencyUs_ = 0;
  std::int64_t markerSentUs_ = -1;
  std::int64_t markerAtUs_ = -1;
  int markerPlace_ = 0;
  int markerShortBy_ = 0;
  std::map<int, int> blockSizes_;
  int regular_ = 0;
  pid_t subscriber_ = 0;
  int eventsFd_ = -1;
  std::string events_;
};

std::string Ms(double value, int decimals = 1) {
  if (std::isnan(value)) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Join(const std::vector<double>& values) {
  std::string text;
  for (double value : values) text += (text.empty() ? "" : ",") + Ms(value, 2);
  return text;
}

constexpr const char* kRowFormat = "%-7s %9s %7s %7s %5s %8s %8s %8s %8s %6s %6s %6s %6s %6s %6s\n";

void PrintRow(const std::string& name, double firstTick, double stream, double sound, double lost,
              double minInterval, double medianInterval, double maxInterval,
              const std::string& outside, const std::string& ticks, double cpuMs, double wallMs,
              double cpuPercent, double cycleCpuMs, double endedMs) {
  std::printf(kRowFormat, name.c_str(), Ms(firstTick).c_str(), Ms(stream).c_str(),
              Ms(sound).c_str(), Ms(lost).c_str(), Ms(minInterval).c_str(),
              Ms(medianInterval).c_str(), Ms(maxInterval).c_str(), outside.c_str(), ticks.c_str(),
              Ms(cpuMs).c_str(), Ms(wallMs, 0).c_str(), Ms(cpuPercent, 2).c_str(),
              Ms(cycleCpuMs).c_str(), Ms(endedMs).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  int cycleMs = 0;
  bool quit = false;
  int first = 1;
  for (; first < argc && std::string(argv[first]).rfind("--", 0) == 0; ++first) {
    const std::string option = argv[first];
    if (option.rfind("--cycle-ms=", 0) == 0) {
      cycleMs = std::atoi(option.c_str() + 11);
    } else if (option == "--quit") {
      quit = true;
    } else {
      Fail("unknown option " + option);
    }
  }
  const int positional = argc - first;
  if (positional != 5 && positional != 6) {
    std::fprintf(stderr,
                 "usage: %s [--cycle-ms=MS] [--quit] WINDOW PID CLICK_X CLICK_Y "
                 "SHAKES [PULSE_SOURCE]\n",
                 argv[0]);
    return 2;
  }
  char** args = argv + first;
  const Window window = std::strtoul(args[0], nullptr, 0);
  const pid_t pid = pid_t(std::atoi(args[1]));
  const int x = std::atoi(args[2]);
  const int y = std::atoi(args[3]);
  const int count = std::atoi(args[4]);
  Display* display = XOpenDisplay(nullptr);
  if (!display) Fail("cannot open the display");

  Watcher watcher(display, window);
  Latency latency;
  if (positional == 6) {
    watcher.StartRecording(args[5]);
    watcher.WaitForAudio();
    latency = watcher.MeasureLatency();
  }

  const ProcessCpu cpu(pid);
  std::vector<Shake> shakes;
  for (int i = 0; i < count; ++i) shakes.push_back(watcher.Click(cpu, x, y, cycleMs));
  watcher.StopRecording();

  std::printf(kRowFormat, "shake", "1st tick", "stream", "sound", "lost", "int min", "int med",
              "int max", "outside", "ticks", "CPU", "wall", "CPU%", "cycle", "ended");
  std::printf(kRowFormat, "", "ms", "ms", "ms", "ms", "ms", "ms", "ms", "", "", "ms", "ms", "",
              "ms", "");
  std::vector<double> firstTicks, streams, sounds, losts, mins, medians, maxes, outsides, cpus,
      walls, percents, cycles;
  double laterCpuMs = 0;
  double laterWallMs = 0;
  for (size_t i = 0; i < shakes.size(); ++i) {
    const Shake& shake = shakes[i];
    const auto intervals = shake.Intervals();
    const double minInterval =
        intervals.empty() ? NAN : *std::min_element(intervals.begin(), intervals.end());
    const double maxInterval =
        intervals.empty() ? NAN : *std::max_element(intervals.begin(), intervals.end());
    PrintRow(std::to_string(i + 1), shake.FirstTickMs(), shake.StreamMs(), shake.SoundMs(),
             shake.LostMs(), minInterval, Median(intervals), maxInterval,
             std::to_string(shake.Outside()) + "/" + std::to_string(intervals.size()),
             std::to_string(shake.tickUs.size()), shake.cpuMs, shake.WallMs(), shake.CpuPercent(),
             shake.CycleCpuMs(), shake.EndedMs());
    firstTicks.push_back(shake.FirstTickMs());
    if (shake.streamUs >= 0) streams.push_back(shake.StreamMs());
    if (shake.soundUs >= 0) sounds.push_back(shake.SoundMs());
    if (shake.soundUs >= 0) losts.push_back(shake.LostMs());
    cycles.push_back(shake.CycleCpuMs());
    mins.push_back(minInterval);
    medians.push_back(Median(intervals));
    maxes.push_back(maxInterval);
    outsides.push_back(shake.Outside());
    cpus.push_back(shake.cpuMs);
    walls.push_back(shake.WallMs());
    percents.push_back(shake.CpuPercent());
    if (i > 0) {
      laterCpuMs += shake.cpuMs;
      laterWallMs += shake.WallMs();
    }
  }
  PrintRow("median", Median(firstTicks), Median(streams), Median(sounds), Median(losts),
           Median(mins), Median(medians), Median(maxes), Ms(Median(outsides), 1), "", Median(cpus),
           Median(walls), Median(percents), Median(cycles), NAN);
  if (shakes.size() > 1) {
    std::printf("shakes 2-%zu together: %.1f ms of CPU in %.0f ms, %.2f%%\n", shakes.size(),
                laterCpuMs, laterWallMs, 100 * laterCpuMs / laterWallMs);
  }
  if (!shakes.empty()) {
    const CpuReading& from = shakes.front().cpuBefore;
    const CpuReading& to = shakes.back().cpuAfter;
    std::printf(
        "CPU from the first click to the end of the last cycle: %.1f ms by the process clock, "
        "%.0f ms by /proc/PID/stat (10 ms units), %.1f ms by the live threads' schedstat\n",
        CpuMs(from, to), to.ticksMs - from.ticksMs, (to.threadsNs - from.threadsNs) / 1e6);
  }
  if (!latency.ms.empty()) {
    std::printf(
        "recording latency, %zu markers: the largest %.2f ms (%s); the sink's configured "
        "latency %.2f ms\nthe recording missed the first",
        latency.ms.size(), *std::max_element(latency.ms.begin(), latency.ms.end()),
        Join(latency.ms).c_str(), latency.sinkMs);
    for (size_t i = 0; i < latency.firstRecorded.size(); ++i)
      std::printf("%s %d", i ? "," : "", latency.firstRecorded[i]);
    std::printf(" samples of each marker; their blocks were short of the regular %d by",
                latency.regularBlock);
    for (size_t i = 0; i < latency.shortBy.size(); ++i)
      std::printf("%s %d", i ? "," : "", latency.shortBy[i]);
    std::printf("\n");
  }

  // For scripts: one line a shake, then the rest.
  for (size_t i = 0; i < shakes.size(); ++i) {
    std::printf(
        "shake=%zu first_tick_ms=%s stream_ms=%s sound_ms=%s lost_ms=%s cycle_cpu_ms=%s "
        "ended_cpu_ms=%s\n",
        i + 1, Ms(shakes[i].FirstTickMs()).c_str(), Ms(shakes[i].StreamMs()).c_str(),
        Ms(shakes[i].SoundMs()).c_str(), Ms(shakes[i].LostMs(), 2).c_str(),
        Ms(shakes[i].CycleCpuMs(), 2).c_str(), Ms(shakes[i].EndedMs(), 2).c_str());
  }
  if (!latency.ms.empty()) {
    std::printf("recording_latency_ms=%s sink_latency_ms=%s\n",
                Ms(*std::max_element(latency.ms.begin(), latency.ms.end()), 2).c_str(),
                Ms(latency.sinkMs, 2).c_str());
  }

  std::printf("\npositions of shake 1, from its starting x:");
  if (!shakes.empty()) {
    for (int position : shakes[0].tickX) std::printf(" %+d", position - shakes[0].startX);
  }
  std::printf("\n");
  if (quit) {
    const Exit exit = watcher.Quit(pid);
    std::printf("exit_ms=%.1f key_realtime_us=%lld\n", (exit.endUs - exit.keyUs) / 1000.0,
                static_cast<long long>(exit.keyRealtimeUs));
  }
  XCloseDisplay(display);
  return 0;
}
