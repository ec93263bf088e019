// Linked into a start-up benchmark executable: reports, on one line of stdout, how
// long after launch the first frame of a window reached the display server, the
// process's memory at that moment and which sound and speech code was mapped, then
// ends the process.
//
// The launch time is ORBIVANE_BENCH_LAUNCH_US, microseconds of CLOCK_REALTIME that
// the launching script takes just before exec (bash: ${EPOCHREALTIME/./}). Without
// it the process's start time from /proc/self/stat serves, to 10 ms only.

#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::int64_t Microseconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return std::int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

std::string ReadFile(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Microseconds since the launch, on the clock of the launch time.
double SinceLaunchUs() {
  if (const char* launch = std::getenv("ORBIVANE_BENCH_LAUNCH_US")) {
    return double(Microseconds(CLOCK_REALTIME) - std::strtoll(launch, nullptr, 10));
  }
  const std::string stat = ReadFile("/proc/self/stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22; ++i) fields >> field;  // field 22 is starttime
  const double startUs = std::stod(field) * 1e6 / double(sysconf(_SC_CLK_TCK));
  return double(Microseconds(CLOCK_BOOTTIME)) - startUs;
}

long StatusKb(const std::string& status, const std::string& key) {
  const auto at = status.find("\n" + key + ":");
  return at == std::string::npos ? -1
                                 : std::strtol(status.c_str() + at + key.size() + 2, nullptr, 10);
}

int Mapped(const std::string& maps, const char* name) {
  return maps.find(name) != std::string::npos ? 1 : 0;
}

class FirstPaint final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
      seen_ = true;
      paintUs_ = SinceLaunchUs();
      // Runs once the paint pass in progress has been flushed to the display.
      QTimer::singleShot(0, [this] { Report(); });
    }
    return false;
  }

 private:
  void Report() const {
    const double frameUs = SinceLaunchUs();
    const std::string status = ReadFile("/proc/self/status");
    const std::string maps = ReadFile("/proc/self/maps");
    std::printf(
        "paint_ms=%.1f frame_ms=%.1f hwm_kb=%ld rss_kb=%ld qt6multimedia=%d espeak=%d "
        "sndfile=%d gstreamer=%d pulse=%d\n",
        paintUs_ / 1000, frameUs / 1000, StatusKb(status, "VmHWM"), StatusKb(status, "VmRSS"),
        Mapped(maps, "libQt6Multimedia.so"), Mapped(maps, "libespeak-ng.so"),
        Mapped(maps, "libsndfile.so"), Mapped(maps, "libgstreamer-1.0.so"),
        Mapped(maps, "libpulse.so"));
    std::fflush(stdout);
    // The program's own shut-down is not part of what is measured.
    _exit(0);
  }

  bool seen_ = false;
  double paintUs_ = 0;
};

// Runs as soon as the program has made its QApplication, before any window exists.
void InstallProbe() { qApp->installEventFilter(new FirstPaint); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
