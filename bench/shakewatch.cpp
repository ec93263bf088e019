// Watches shakes of the program's main window from outside, as another X client,
// and prints a table: one row a shake, then the medians.
//
//   orbivane_shakewatch WINDOW PID CLICK_X CLICK_Y SHAKES [PULSE_SOURCE]
//
// Everything is timed on CLOCK_MONOTONIC in this one process:
// - the click: the pointer is warped to CLICK_X, CLICK_Y, then the time is taken
//   just before a button press and release are sent through the XTEST extension;
// - a tick: the time a ConfigureNotify with a new x for WINDOW is read;
// - the sound: PULSE_SOURCE (a null sink's monitor) is recorded with parec; each
//   block read is stamped on arrival, a sample's time is that stamp less the
//   samples after it in the block, and the sound starts at the first sample above
//   1% of full scale: when the sound entered the server's mix. The null sink runs
//   at the smallest latency any client asks for, here the recording's (parec asks
//   for ORBIVANE_RECORD_LATENCY_MS, 5 by default, below the program's own): it
//   renders that far ahead of its clock, and a new stream's first sample comes
//   after what is already rendered. That latency is added back, so the figure is
//   when the sink's clock reaches the sound: when it would be heard on a device
//   with that latency;
// - the stream: `pactl subscribe` runs beside, and the first "new" sink-input event
//   read after the click is stamped on arrival: when the server has made the
//   program's playback stream, the server's own view. The sound follows it by the
//   sink's latency and any quiet at the start of the sound file;
// - CPU: utime + stime of PID from /proc/PID/stat, read just before the click and
//   just after the last tick, over the wall time between the two readings; and for
//   the whole cycle, up to the end of the spoken answer (the recording quiet
//   again). The kernel gives it in 10 ms units.
// Before each click it waits until the window has stopped moving and the recording
// has been quiet for a while, so that one shake's speech is not taken for the next
// one's sound.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Last: Xlibint.h defines min and max as macros.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/extensions/xtestproto.h>
#undef min
#undef max

extern char** environ;

namespace {

// A shake moves the window 11 times, 100 ms apart.
constexpr int kTicks = 11;
constexpr double kPeriodMs = 100;
constexpr double kToleranceMs = 10;
constexpr int kRate = 44100;
constexpr int kLoud = 328;  // 1% of full scale
constexpr std::int64_t kQuietUs = 800000;

int RecordLatencyMs() {
  const char* value = std::getenv("ORBIVANE_RECORD_LATENCY_MS");
  return value ? std::atoi(value) : 5;
}

std::int64_t NowUs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "orbivane_shakewatch: %s\n", message.c_str());
  std::exit(1);
}

// utime + stime of the process, in seconds.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto paren = stat.rfind(')');
  if (paren == std::string::npos) Fail("cannot read /proc/" + std::to_string(pid) + "/stat");
  std::istringstream fields(stat.substr(paren + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15; ++i) {
    fields >> field;
    if (i == 14 || i == 15) ticks += std::stod(field);  // utime, stime
  }
  return ticks / double(sysconf(_SC_CLK_TCK));
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
void FakeButton(Display* dpy, int opcode, bool press) {
  LockDisplay(dpy);
  xXTestFakeInputReq* req;
  GetReq(XTestFakeInput, req);
  req->reqType = CARD8(opcode);
  req->xtReqType = X_XTestFakeInput;
  req->type = press ? ButtonPress : ButtonRelease;
  req->detail = 1;
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

struct Shake {
  std::int64_t clickUs = 0;
  int startX = 0;
  std::int64_t cpuStartUs = 0;
  std::int64_t cpuEndUs = 0;
  std::vector<std::int64_t> tickUs;
  std::vector<int> tickX;
  std::int64_t soundUs = -1;
  std::int64_t streamUs = -1;
  double cpuSeconds = 0;
  double cycleCpuSeconds = 0;

  double FirstTickMs() const { return tickUs.empty() ? NAN : (tickUs[0] - clickUs) / 1000.0; }
  double SoundMs() const { return soundUs < 0 ? NAN : (soundUs - clickUs) / 1000.0; }
  double StreamMs() const { return streamUs < 0 ? NAN : (streamUs - clickUs) / 1000.0; }
  double WallMs() const { return (cpuEndUs - cpuStartUs) / 1000.0; }
  double CpuPercent() const { return 100 * cpuSeconds * 1000 / WallMs(); }
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
    int fds[2];
    if (pipe(fds) != 0) Fail("pipe");
    recorder_ =
        Spawn({"parec", "--raw", "--latency-msec=" + std::to_string(latencyMs_), "--format=s16le",
               "--rate=" + std::to_string(kRate), "--channels=1", "-d", source},
              fds[1]);
    close(fds[1]);
    audioFd_ = fds[0];
    fcntl(audioFd_, F_SETFL, O_NONBLOCK);
    if (pipe(fds) != 0) Fail("pipe");
    subscriber_ = Spawn({"pactl", "subscribe"}, fds[1], true);
    close(fds[1]);
    eventsFd_ = fds[0];
    fcntl(eventsFd_, F_SETFL, O_NONBLOCK);
  }

  void StopRecording() {
    for (pid_t* child : {&recorder_, &subscriber_}) {
      if (*child <= 0) continue;
      kill(*child, SIGTERM);
      waitpid(*child, nullptr, 0);
      *child = 0;
    }
  }

  bool Recording() const { return audioFd_ >= 0; }

  // The monitor of a fresh sink delivers nothing for a second or two.
  void WaitForAudio() {
    const std::int64_t deadline = NowUs() + 10000000;
    Pump(deadline, [&] { return audioSamples_ >= kRate / 2; });
    if (audioSamples_ < kRate / 2) Fail("no audio from the recording after 10 s");
  }

  void WaitForQuiet() {
    const std::int64_t deadline = NowUs() + 10000000;
    Pump(deadline, [&] {
      const std::int64_t now = NowUs();
      return now - lastMoveUs_ > 300000 && (!Recording() || now - lastLoudUs_ > kQuietUs);
    });
  }

  Shake Click(pid_t pid, int x, int y) {
    XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, x, y);
    XSync(display_, False);
    WaitForQuiet();
    Shake shake;
    current_ = &shake;
    shake.startX = lastX_;
    const double cpuBefore = CpuSeconds(pid);
    shake.cpuStartUs = shake.clickUs = NowUs();
    FakeButton(display_, xtest_, true);
    FakeButton(display_, xtest_, false);
    XFlush(display_);
    const std::int64_t deadline = shake.clickUs + 3000000;
    Pump(deadline, [&] { return int(shake.tickUs.size()) >= kTicks; });
    shake.cpuSeconds = CpuSeconds(pid) - cpuBefore;
    shake.cpuEndUs = NowUs();
    Pump(deadline, [&] { return !Recording() || shake.soundUs >= 0; });
    // The cycle ends when the answer has been spoken and the window is still.
    WaitForQuiet();
    shake.cycleCpuSeconds = CpuSeconds(pid) - cpuBefore;
    current_ = nullptr;
    return shake;
  }

 private:
  template <typename Done>
  void Pump(std::int64_t deadline, Done done) {
    while (!done()) {
      const std::int64_t now = NowUs();
      if (now >= deadline) return;
      pollfd fds[3] = {
          {ConnectionNumber(display_), POLLIN, 0}, {audioFd_, POLLIN, 0}, {eventsFd_, POLLIN, 0}};
      poll(fds, audioFd_ >= 0 ? 3 : 1,
           int(std::min<std::int64_t>((deadline - now) / 1000 + 1, 50)));
      ReadX();
      if (audioFd_ >= 0 && (fds[1].revents & (POLLIN | POLLHUP))) ReadAudio();
      if (eventsFd_ >= 0 && (fds[2].revents & POLLIN)) ReadEvents();
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
    char buffer[16384];
    const ssize_t got = read(audioFd_, buffer, sizeof buffer);
    const std::int64_t now = NowUs();
    if (got <= 0) {
      if (got == 0) Fail("the recording ended");
      return;
    }
    pending_.append(buffer, size_t(got));
    const size_t samples = pending_.size() / 2;
    for (size_t i = 0; i < samples; ++i) {
      const auto sample =
          std::int16_t(std::uint8_t(pending_[2 * i]) | std::uint8_t(pending_[2 * i + 1]) << 8);
      if (std::abs(int(sample)) <= kLoud) continue;
      const std::int64_t at =
          now - std::int64_t(samples - 1 - i) * 1000000 / kRate + latencyMs_ * 1000;
      lastLoudUs_ = at;
      if (current_ && current_->soundUs < 0) current_->soundUs = at;
    }
    audioSamples_ += std::int64_t(samples);
    pending_.erase(0, samples * 2);
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
  pid_t recorder_ = 0;
  int audioFd_ = -1;
  std::string pending_;
  std::int64_t audioSamples_ = 0;
  std::int64_t lastLoudUs_ = 0;
  const int latencyMs_ = RecordLatencyMs();
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

constexpr const char* kRowFormat = "%-7s %9s %7s %7s %8s %8s %8s %8s %6s %6s %6s %6s %6s\n";

void PrintRow(const std::string& name, double firstTick, double stream, double sound,
              double minInterval, double medianInterval, double maxInterval,
              const std::string& outside, const std::string& ticks, double cpuMs, double wallMs,
              double cpuPercent, double cycleCpuMs) {
  std::printf(kRowFormat, name.c_str(), Ms(firstTick).c_str(), Ms(stream).c_str(),
              Ms(sound).c_str(), Ms(minInterval).c_str(), Ms(medianInterval).c_str(),
              Ms(maxInterval).c_str(), outside.c_str(), ticks.c_str(), Ms(cpuMs, 0).c_str(),
              Ms(wallMs, 0).c_str(), Ms(cpuPercent).c_str(), Ms(cycleCpuMs, 0).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 && argc != 7) {
    std::fprintf(stderr, "usage: %s WINDOW PID CLICK_X CLICK_Y SHAKES [PULSE_SOURCE]\n", argv[0]);
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const pid_t pid = pid_t(std::atoi(argv[2]));
  const int x = std::atoi(argv[3]);
  const int y = std::atoi(argv[4]);
  const int count = std::atoi(argv[5]);
  Display* display = XOpenDisplay(nullptr);
  if (!display) Fail("cannot open the display");

  Watcher watcher(display, window);
  if (argc == 7) {
    watcher.StartRecording(argv[6]);
    watcher.WaitForAudio();
  }

  std::vector<Shake> shakes;
  for (int i = 0; i < count; ++i) shakes.push_back(watcher.Click(pid, x, y));
  watcher.StopRecording();

  std::printf(kRowFormat, "shake", "1st tick", "stream", "sound", "int min", "int med", "int max",
              "outside", "ticks", "CPU", "wall", "CPU%", "cycle");
  std::printf(kRowFormat, "", "ms", "ms", "ms", "ms", "ms", "ms", "", "", "ms", "ms", "", "ms");
  std::vector<double> firstTicks, streams, sounds, mins, medians, maxes, outsides, cpus, walls,
      percents, cycles;
  std::vector<double> laterStreams, laterSounds, laterCycles;
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
             minInterval, Median(intervals), maxInterval,
             std::to_string(shake.Outside()) + "/" + std::to_string(intervals.size()),
             std::to_string(shake.tickUs.size()), shake.cpuSeconds * 1000, shake.WallMs(),
             shake.CpuPercent(), shake.cycleCpuSeconds * 1000);
    firstTicks.push_back(shake.FirstTickMs());
    if (shake.streamUs >= 0) streams.push_back(shake.StreamMs());
    if (shake.soundUs >= 0) sounds.push_back(shake.SoundMs());
    cycles.push_back(shake.cycleCpuSeconds * 1000);
    if (i > 0) {
      if (shake.streamUs >= 0) laterStreams.push_back(shake.StreamMs());
      if (shake.soundUs >= 0) laterSounds.push_back(shake.SoundMs());
      laterCycles.push_back(shake.cycleCpuSeconds * 1000);
    }
    mins.push_back(minInterval);
    medians.push_back(Median(intervals));
    maxes.push_back(maxInterval);
    outsides.push_back(shake.Outside());
    cpus.push_back(shake.cpuSeconds * 1000);
    walls.push_back(shake.WallMs());
    percents.push_back(shake.CpuPercent());
    if (i > 0) {
      laterCpuMs += shake.cpuSeconds * 1000;
      laterWallMs += shake.WallMs();
    }
  }
  PrintRow("median", Median(firstTicks), Median(streams), Median(sounds), Median(mins),
           Median(medians), Median(maxes), Ms(Median(outsides), 1), "", Median(cpus), Median(walls),
           Median(percents), Median(cycles));
  // One shake's CPU is a few 10 ms units; the later shakes together resolve it finer.
  if (shakes.size() > 1) {
    std::printf("shakes 2-%zu together: %.0f ms of CPU in %.0f ms, %.1f%%\n", shakes.size(),
                laterCpuMs, laterWallMs, 100 * laterCpuMs / laterWallMs);
  }

  // For scripts: one line a shake, then the first beside the median of the later ones.
  for (size_t i = 0; i < shakes.size(); ++i) {
    std::printf("shake=%zu first_tick_ms=%s stream_ms=%s sound_ms=%s cycle_cpu_ms=%s\n", i + 1,
                Ms(shakes[i].FirstTickMs()).c_str(), Ms(shakes[i].StreamMs()).c_str(),
                Ms(shakes[i].SoundMs()).c_str(), Ms(shakes[i].cycleCpuSeconds * 1000, 0).c_str());
  }
  if (!shakes.empty()) {
    std::printf(
        "summary first_stream_ms=%s first_sound_ms=%s first_cycle_cpu_ms=%s "
        "later_stream_ms=%s later_sound_ms=%s later_cycle_cpu_ms=%s\n",
        Ms(shakes[0].StreamMs()).c_str(), Ms(shakes[0].SoundMs()).c_str(),
        Ms(shakes[0].cycleCpuSeconds * 1000, 0).c_str(), Ms(Median(laterStreams)).c_str(),
        Ms(Median(laterSounds)).c_str(), Ms(Median(laterCycles), 0).c_str());
  }

  std::printf("\npositions of shake 1, from its starting x:");
  if (!shakes.empty()) {
    for (int position : shakes[0].tickX) std::printf(" %+d", position - shakes[0].startX);
  }
  std::printf("\n");
  XCloseDisplay(display);
  return 0;
}
