#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Sandbox.h"
#include "platform/audio/EspeakVoice.h"
#include "platform/audio/SndfileDecoder.h"
#include "platform/audio/SystemAudio.h"

using namespace std::chrono_literals;
using namespace platform::audio;
using Clock = std::chrono::steady_clock;
using testing_support::Reports;
using testing_support::ScopedEnvironment;
using testing_support::Scratch;
namespace fs = std::filesystem;

namespace {

constexpr int kRecordingRate = 44100;
// Sound is compared by its loudness over 10 ms windows.
constexpr int kWindowsPerSecond = 100;
constexpr std::size_t kWindow = kRecordingRate / kWindowsPerSecond;
constexpr std::size_t kPhases = 10;
constexpr char kSink[] = "orbivane_test";

// Two of the program's answers, the first several times as long as the second.
constexpr char kLongAnswer[] = "Hey, I'm just some computer code, what do you expect?";
constexpr char kShortAnswer[] = "Absolutely!";

// A clip's loudness, window by window, follows the recording this closely where it
// is heard (a normalised cross-correlation). Played through the server, the shake
// sound fits above 0.99 and speech above 0.96 (the voice renders a text a little
// differently after other texts); an answer cut off by 80 ms, sounding over the
// other or missing fitted 0.84 or less.
constexpr double kFits = 0.9;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::optional<fs::path> FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const fs::path candidate = fs::path(folder) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

// A program run with exactly the environment given, its standard error going to a
// log file and, if asked, its standard output to a pipe. It is killed and reaped
// when this goes, and killed by the kernel if the test process dies first.
class Child {
 public:
  Child(const fs::path& program, const std::vector<std::string>& arguments,
        std::vector<std::string> environment, const fs::path& log, bool pipeOutput)
      : log_(log) {
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args, env;
    for (auto& argument : argv) args.push_back(argument.data());
    args.push_back(nullptr);
    for (auto& variable : environment) env.push_back(variable.data());
    env.push_back(nullptr);

    int output[2] = {-1, -1};
    if (pipeOutput && pipe2(output, O_CLOEXEC) != 0) return;
    const int logFile = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
      // Only async-signal-safe calls between fork and exec.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent) _exit(126);
      if (pipeOutput) dup2(output[1], STDOUT_FILENO);
      if (logFile >= 0) dup2(logFile, STDERR_FILENO);
      execve(args[0], args.data(), env.data());
      _exit(127);
    }
    if (logFile >= 0) close(logFile);
    if (pipeOutput) {
      close(output[1]);
      output_ = output[0];
    }
  }

  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    if (output_ >= 0) close(output_);
  }

  bool Started() const { return pid_ > 0; }
  bool Exited() {
    if (pid_ <= 0 || waitpid(pid_, nullptr, WNOHANG) != pid_) return false;
    pid_ = -1;
    return true;
  }
  int Output() const { return output_; }
  std::string Log() const { return ReadAll(log_); }

 private:
  fs::path log_;
  pid_t pid_ = -1;
  int output_ = -1;
};

bool Accepts(const fs::path& socketPath) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
  const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const bool accepted = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(probe);
  return accepted;
}

// Loudness over 10 ms windows, the first one starting at `offset`.
std::vector<double> Envelope(const std::vector<std::int16_t>& samples, int rate,
                             std::size_t offset = 0) {
  std::vector<double> envelope;
  for (std::size_t window = 0;; ++window) {
    const std::size_t begin = offset + window * rate / kWindowsPerSecond;
    const std::size_t end = offset + (window + 1) * rate / kWindowsPerSecond;
    if (end > samples.size()) break;
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i) sum += double(samples[i]) * samples[i];
    envelope.push_back(std::sqrt(sum / double(end - begin)));
  }
  return envelope;
}

// The recording's envelope once for every millisecond of a window's length, so
// that a clip is tried at every millisecond and not only at the windows' edges,
// which would blur a sharp attack.
std::vector<std::vector<double>> Envelopes(const std::vector<std::int16_t>& recording) {
  std::vector<std::vector<double>> envelopes;
  for (std::size_t phase = 0; phase < kPhases; ++phase) {
    envelopes.push_back(Envelope(recording, kRecordingRate, phase * kWindow / kPhases));
  }
  return envelopes;
}

struct Fit {
  std::size_t at = 0;  // in recorded samples
  double score = 0;
};

// Where, starting between `first` and `last` (in recorded samples), the clip's
// envelope fits the recording best, judged by normalised cross-correlation: neither
// the server's volume nor its resampling counts, only the shape.
Fit BestFit(const std::vector<std::vector<double>>& heard, const std::vector<double>& clip,
            std::size_t first, std::size_t last) {
  Fit best;
  const std::size_t n = clip.size();
  if (n == 0) return best;
  double mean = 0;
  for (double value : clip) mean += value;
  mean /= double(n);
  std::vector<double> centred;
  double clipSpread = 0;
  for (double value : clip) {
    centred.push_back(value - mean);
    clipSpread += (value - mean) * (value - mean);
  }
  if (clipSpread <= 0) return best;
  for (std::size_t phase = 0; phase < kPhases; ++phase) {
    const std::vector<double>& envelope = heard[phase];
    const std::size_t offset = phase * kWindow / kPhases;
    std::vector<double> sum{0}, squares{0};
    for (double value : envelope) {
      sum.push_back(sum.back() + value);
      squares.push_back(squares.back() + value * value);
    }
    const std::size_t from = first > offset ? (first - offset + kWindow - 1) / kWindow : 0;
    for (std::size_t at = from; at + n <= envelope.size(); ++at) {
      const std::size_t sample = offset + at * kWindow;
      if (sample > last) break;
      const double windowSum = sum[at + n] - sum[at];
      const double spread = squares[at + n] - squares[at] - windowSum * windowSum / double(n);
      if (spread <= 0) continue;
      double product = 0;
      for (std::size_t i = 0; i < n; ++i) product += envelope[at + i] * centred[i];
      const double score = product / std::sqrt(spread * clipSpread);
      if (score > best.score) best = {sample, score};
    }
  }
  return best;
}

// How one clip was heard: where the whole of it fits best, and how well its last
// 200 ms fit close to where the whole puts them. A clip cut short or sounding over
// another fits worse, at the end above all.
struct Heard {
  double whole = 0;
  double ending = 0;
  std::size_t start = 0;  // in recorded samples
  std::size_t end = 0;

  bool Whole() const { return whole >= kFits && ending >= kFits; }
};

Heard Hear(const std::vector<std::vector<double>>& heard, const std::vector<double>& clip) {
  Heard result;
  const Fit whole = BestFit(heard, clip, 0, SIZE_MAX);
  result.whole = whole.score;
  result.start = whole.at;
  const std::size_t endWindows = std::min<std::size_t>(clip.size(), kWindowsPerSecond / 5);
  const std::vector<double> ending(clip.end() - std::ptrdiff_t(endWindows), clip.end());
  const std::size_t expected = whole.at + (clip.size() - endWindows) * kWindow;
  const std::size_t slack = kRecordingRate / 10;
  const Fit fit = BestFit(heard, ending, expected > slack ? expected - slack : 0, expected + slack);
  result.ending = fit.score;
  if (fit.score > 0) result.end = fit.at + endWindows * kWindow;
  return result;
}

// What the sink's monitor delivers, read from parec's output while the test waits.
class Recorder {
 public:
  explicit Recorder(Child& parec) : parec_(parec) {}

  // Reads until `enough` holds for the samples so far, parec stops, or the limit
  // passes.
  template <typename Enough>
  bool ReadUntil(Enough enough, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!enough(samples_)) {
      if (Clock::now() >= deadline) return false;
      pollfd readable{parec_.Output(), POLLIN, 0};
      if (poll(&readable, 1, 100) < 0 && errno != EINTR) return false;
      if (readable.revents == 0) continue;
      char buffer[8192];
      const ssize_t got = read(parec_.Output(), buffer, sizeof buffer);
      if (got <= 0) return false;
      bytes_.append(buffer, std::size_t(got));
      const std::size_t whole = bytes_.size() / 2 * 2;
      const std::size_t first = samples_.size();
      samples_.resize(first + whole / 2);
      std::memcpy(samples_.data() + first, bytes_.data(), whole);
      bytes_.erase(0, whole);
    }
    return true;
  }

 private:
  Child& parec_;
  std::string bytes_;
  std::vector<std::int16_t> samples_;
};

// The real audio service against a sound server of the test's own: a PulseAudio
// daemon with one null sink, whose monitor is recorded.
class HeardSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.Path().empty()) << "cannot make a scratch folder in /tmp";
    const fs::path home = scratch_.Path() / "home";
    const fs::path runtime = scratch_.Path() / "runtime";
    fs::create_directory(home);
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    socket_ = scratch_.Path() / "native";
    cookie_ = home / ".config/pulse/cookie";
    clientConfig_ = scratch_.Path() / "client.conf";
    std::ofstream(clientConfig_) << "autospawn = no\n";
    environment_ = {
        "PATH=/usr/local/bin:/usr/bin:/bin",   "HOME=" + home.string(),
        "XDG_RUNTIME_DIR=" + runtime.string(), "PULSE_CLIENTCONFIG=" + clientConfig_.string(),
        "PULSE_COOKIE=" + cookie_.string(),    "LANG=C"};
  }

  // Starts the daemon and waits until it takes connections: by then its sink and
  // its cookie are there.
  void StartServer() {
    const auto program = FindProgram("pulseaudio");
    ASSERT_TRUE(program)
        << "pulseaudio is not installed, so no sound can be heard: install "
           "pulseaudio and pulseaudio-utils (scripts/install-deps.sh --with-tests)";
    server_.emplace(
        *program,
        std::vector<std::string>{"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                 "--high-priority=no", "--realtime=no", "--log-target=stderr",
                                 std::string("--load=module-null-sink sink_name=") + kSink,
                                 "--load=module-native-protocol-unix socket=" + socket_.string()},
        environment_, scratch_.Path() / "pulseaudio.log", false);
    ASSERT_TRUE(server_->Started()) << "cannot start " << *program;
    const auto deadline = Clock::now() + 20s;
    while (!Accepts(socket_)) {
      ASSERT_FALSE(server_->Exited()) << "pulseaudio stopped:\n" << server_->Log();
      ASSERT_LT(Clock::now(), deadline) << "pulseaudio takes no connections:\n" << server_->Log();
      poll(nullptr, 0, 10);
    }
  }

  // Records the sink's monitor and waits for the first data: the monitor sends
  // nothing for its first seconds.
  void StartRecording() {
    const auto program = FindProgram("parec");
    ASSERT_TRUE(program) << "parec is not installed: install pulseaudio-utils "
                            "(scripts/install-deps.sh --with-tests)";
    // Without a small latency parec writes its recording in 2 s chunks.
    parec_.emplace(
        *program,
        std::vector<std::string>{"--server=unix:" + socket_.string(),
                                 std::string("--device=") + kSink + ".monitor", "--raw",
                                 "--format=s16le", "--rate=" + std::to_string(kRecordingRate),
                                 "--channels=1", "--latency-msec=10"},
        environment_, scratch_.Path() / "parec.log", true);
    ASSERT_TRUE(parec_->Started()) << "cannot start " << *program;
    recorder_.emplace(*parec_);
    ASSERT_TRUE(recorder_->ReadUntil([](const auto& samples) { return !samples.empty(); }, 30s))
        << "nothing comes from the monitor:\n"
        << parec_->Log() << server_->Log();
  }

  // What the shake sound sounds like, to find it in the recording.
  void DecodeShake() {
    std::string error;
    auto decoder = OpenSndfileDecoder(references_.Sink(), error);
    ASSERT_TRUE(decoder) << error;
    const auto shake = decoder->Decode(ORBIVANE_MEDIA_DIR "/sandshake.mp3", [] { return false; });
    ASSERT_TRUE(shake);
    shakeEnvelope_ = Envelope(shake->samples, shake->rate);
  }

  // The client in this process finds only the test's server.
  void PointTheClientAtTheServer() {
    variables_.Set("PULSE_SERVER", "unix:" + socket_.string());
    variables_.Set("PULSE_COOKIE", cookie_.string());
    variables_.Set("PULSE_CLIENTCONFIG", clientConfig_.string());
  }

  // Waits until every clip has been heard whole and the recording has gone on for
  // 300 ms past its end, so that what is said of it is taken from all of it; says
  // how each was heard either way.
  std::vector<Heard> WaitUntilHeard(const std::vector<std::vector<double>>& clips,
                                    std::chrono::milliseconds limit) {
    std::vector<Heard> heard(clips.size());
    std::size_t looked = 0;
    recorder_->ReadUntil(
        [&](const std::vector<std::int16_t>& samples) {
          // Looked at again after every 250 ms of recording.
          if (samples.size() < looked + kRecordingRate / 4) return false;
          looked = samples.size();
          const auto envelopes = Envelopes(samples);
          const std::size_t past = kRecordingRate * 3 / 10;
          bool all = true;
          for (std::size_t i = 0; i < clips.size(); ++i) {
            heard[i] = Hear(envelopes, clips[i]);
            all = all && heard[i].Whole() && samples.size() > heard[i].end + past;
          }
          return all;
        },
        limit);
    return heard;
  }

  Reports references_;
  std::vector<double> shakeEnvelope_;
  Scratch scratch_{"orbivane-heard"};
  fs::path socket_, cookie_, clientConfig_;
  std::vector<std::string> environment_;
  std::optional<Child> server_;
  std::optional<Child> parec_;
  std::optional<Recorder> recorder_;
  ScopedEnvironment variables_;
};

}  // namespace

TEST_F(HeardSoundTest, TheShakeSoundThenBothAnswersAreHeardWholeOneAfterTheOther) {
  // What the three sound like, to find them in the recording.
  ASSERT_NO_FATAL_FAILURE(DecodeShake());
  auto voice = MakeEspeakVoice(references_.Sink());
  const Clip longAnswer = voice->Render(kLongAnswer, [] { return false; });
  const Clip shortAnswer = voice->Render(kShortAnswer, [] { return false; });
  ASSERT_TRUE(longAnswer.Playable() && shortAnswer.Playable())
      << ::testing::PrintToString(references_.Lines());
  const auto longEnvelope = Envelope(longAnswer.samples, longAnswer.rate);
  const auto shortEnvelope = Envelope(shortAnswer.samples, shortAnswer.rate);
  ASSERT_GT(longEnvelope.size(), 3 * shortEnvelope.size());

  ASSERT_NO_FATAL_FAILURE(StartServer());
  ASSERT_NO_FATAL_FAILURE(StartRecording());
  PointTheClientAtTheServer();
  Reports reports;
  auto audio = MakeSystemAudio("orbivane-test", reports.Sink());

  // As a shake does: the sound, and a little after it has ended the answer; the
  // second answer is asked for before the first has been said.
  audio->PlaySound(ORBIVANE_MEDIA_DIR "/sandshake.mp3");
  ASSERT_TRUE(WaitUntilHeard({shakeEnvelope_}, 30s)[0].Whole()) << "the shake sound is not heard";
  audio->Speak(kLongAnswer, false);
  audio->Speak(kShortAnswer, false);
  const auto heard = WaitUntilHeard({shakeEnvelope_, longEnvelope, shortEnvelope}, 30s);
  audio.reset();

  EXPECT_TRUE(reports.Lines().empty()) << ::testing::PrintToString(reports.Lines());
  const char* names[] = {"shake sound", "first answer", "second answer"};
  for (std::size_t i = 0; i < heard.size(); ++i) {
    std::printf("%s: %.3f s to %.3f s, fits %.3f, its end %.3f\n", names[i],
                double(heard[i].start) / kRecordingRate, double(heard[i].end) / kRecordingRate,
                heard[i].whole, heard[i].ending);
    // Where a clip was not heard, its place in the recording means nothing.
    ASSERT_TRUE(heard[i].Whole()) << "the " << names[i] << " was not heard whole";
  }
  // Each starts once the one before has ended; the slack is for the windows'
  // coarseness, and far below what sounding over the one before would show.
  const std::size_t slack = kRecordingRate / 10;
  EXPECT_GE(heard[1].start + slack, heard[0].end) << "the first answer sounds over the shake";
  EXPECT_GE(heard[2].start + slack, heard[1].end) << "the second answer sounds over the first";
}

TEST_F(HeardSoundTest, ABurstOfPlaysIsNotRefusedAndTheLastIsHeardWhole) {
  ASSERT_NO_FATAL_FAILURE(DecodeShake());

  ASSERT_NO_FATAL_FAILURE(StartServer());
  ASSERT_NO_FATAL_FAILURE(StartRecording());
  PointTheClientAtTheServer();
  Reports reports;
  auto audio = MakeSystemAudio("orbivane-test", reports.Sink());

  // An auto-clicker on the ball: every play starts the sound again. A new stream
  // for each piled up more of them than the server takes ("Too large").
  for (int click = 0; click < 3000; ++click) {
    audio->PlaySound(ORBIVANE_MEDIA_DIR "/sandshake.mp3");
    std::this_thread::sleep_for(500us);
  }
  const auto heard = WaitUntilHeard({shakeEnvelope_}, 30s);
  audio.reset();
  EXPECT_TRUE(reports.Lines().empty()) << ::testing::PrintToString(reports.Lines());
  EXPECT_TRUE(heard[0].Whole()) << "the last shake sound is not heard whole";
}
