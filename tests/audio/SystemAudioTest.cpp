#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>

#include "Sandbox.h"
#include "platform/audio/AudioService.h"
#include "platform/audio/EspeakVoice.h"
#include "platform/audio/LibraryMessages.h"
#include "platform/audio/PulseServer.h"
#include "platform/audio/SharedLibrary.h"
#include "platform/audio/SndfileDecoder.h"

using namespace std::chrono_literals;
using namespace platform::audio;
using testing_support::Reports;
using testing_support::ScopedEnvironment;
using testing_support::Scratch;

namespace {

// A sound server that never answers, made the one the client library uses: a
// listening socket that nobody reads.
class SilentServer {
 public:
  SilentServer() {
    const std::filesystem::path path = scratch_.Path() / "native";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.string().copy(address.sun_path, sizeof address.sun_path - 1);
    socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(socket_, 8) != 0) {
      ADD_FAILURE() << "cannot listen on " << path;
    }
    environment_.Set("PULSE_SERVER", "unix:" + path.string());
  }

  ~SilentServer() { close(socket_); }

  bool Reached() const {
    pollfd waiting{socket_, POLLIN, 0};
    return poll(&waiting, 1, 0) == 1;
  }

 private:
  Scratch scratch_;
  ScopedEnvironment environment_;
  int socket_ = -1;
};

// The real client, noting when it is gone.
class NotedServer final : public SoundServer {
 public:
  NotedServer(std::unique_ptr<SoundServer> server, std::shared_ptr<std::atomic<bool>> gone)
      : server_(std::move(server)), gone_(std::move(gone)) {}
  ~NotedServer() override {
    server_.reset();
    *gone_ = true;
  }
  void Connect(std::uint64_t connection) override { server_->Connect(connection); }
  void Disconnect() override { server_->Disconnect(); }
  void Play(Line line, std::shared_ptr<const Clip> clip, std::uint64_t id) override {
    server_->Play(line, std::move(clip), id);
  }
  void Stop(Line line) override { server_->Stop(line); }

 private:
  std::unique_ptr<SoundServer> server_;
  std::shared_ptr<std::atomic<bool>> gone_;
};

}  // namespace

TEST(SystemAudioTest, AMissingLibraryIsNamed) {
  SharedLibrary missing("liborbivane-not-there.so.7");
  void (*function)() = nullptr;
  missing.Bind(function, "anything");
  EXPECT_FALSE(missing.Usable());
  EXPECT_EQ(function, nullptr);
  EXPECT_NE(missing.Error().find("liborbivane-not-there.so.7"), std::string::npos)
      << missing.Error();

  SharedLibrary present("libc.so.6");
  present.Bind(function, "orbivane_no_such_function");
  EXPECT_FALSE(present.Usable());
  EXPECT_NE(present.Error().find("orbivane_no_such_function"), std::string::npos);
}

TEST(SystemAudioTest, TheShakeSoundDecodesWithoutItsEncoderDelay) {
  Reports reports;
  std::string error;
  auto decoder = OpenSndfileDecoder(reports.Sink(), error);
  ASSERT_TRUE(decoder) << error;
  const auto clip = decoder->Decode(ORBIVANE_MEDIA_DIR "/sandshake.mp3", [] { return false; });
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->rate, 44100);
  EXPECT_EQ(clip->channels, 1);
  // The sound is one second long and starts loud at once: neither the encoder's
  // delay (about 25 ms of near silence) nor its padding is left in.
  EXPECT_EQ(clip->samples.size(), 44100u);
  const auto loud = std::find_if(clip->samples.begin(), clip->samples.end(),
                                 [](std::int16_t sample) { return std::abs(sample) > 328; });
  EXPECT_LT(loud - clip->samples.begin(), 441);

  EXPECT_FALSE(decoder->Decode(ORBIVANE_MEDIA_DIR "/ballsmall1.png", [] { return false; }));
  ASSERT_EQ(reports.Lines().size(), 1u);
  EXPECT_NE(reports.Lines()[0].find("ballsmall1.png"), std::string::npos);
}

TEST(SystemAudioTest, SpeechRendersIntoMemoryWithoutReachingTheSoundServer) {
  SilentServer server;
  Reports reports;
  auto voice = MakeEspeakVoice(reports.Sink());
  const Clip clip = voice->Render("I'd say, yes!", [] { return false; });
  EXPECT_GT(clip.rate, 0);
  // At least half a second of speech.
  EXPECT_GT(clip.samples.size(), size_t(clip.rate / 2));
  EXPECT_FALSE(server.Reached());
  EXPECT_TRUE(reports.Lines().empty());

  // Told to stop, it gives up early.
  int pieces = 0;
  const Clip cut =
      voice->Render("I'm fairly confident the answer is yes", [&] { return ++pieces > 1; });
  EXPECT_LT(cut.samples.size(), clip.samples.size());

  // What is thrown while the engine renders comes out once the engine has
  // returned, and the engine goes on working.
  EXPECT_THROW(voice->Render("Slim chance", []() -> bool { throw std::bad_alloc(); }),
               std::bad_alloc);
  const Clip again = voice->Render("I'd say, yes!", [] { return false; });
  EXPECT_NEAR(double(again.samples.size()), double(clip.samples.size()), clip.rate / 10.0);
}

TEST(SystemAudioTest, TheClientGivesUpAServerThatNeverAnswersAndLeavesAtOnce) {
  SilentServer server;
  Reports reports;
  auto clientGone = std::make_shared<std::atomic<bool>>(false);
  std::optional<AudioService> audio;
  // A wait on leaving far longer than the test may take: a thread left behind
  // cannot pass for one that was joined.
  audio.emplace(
      [clientGone](SoundServer::Events& events, const Report& report) {
        std::string error;
        AudioParts parts;
        parts.server = std::make_unique<NotedServer>(
            OpenPulseServer("orbivane-test", events, error), clientGone);
        parts.decoder = OpenSndfileDecoder(report, error);
        return parts;
      },
      reports.Sink(), AudioTiming{.connectTimeout = 300ms, .exitWait = 60s});
  for (int click = 0; click < 3; ++click) audio->PlaySound(ORBIVANE_MEDIA_DIR "/sandshake.mp3");
  ASSERT_TRUE(reports.WaitForOne());
  EXPECT_TRUE(server.Reached());

  // The client lets go of a server that never answered without waiting for it.
  audio.reset();
  EXPECT_TRUE(*clientGone);
  EXPECT_EQ(reports.Lines(),
            std::vector<std::string>{"no sound or speech: the sound server does not answer"});
}

TEST(SystemAudioTest, TheClientLibraryKeepsItsComplaintsOffStderr) {
  // A home folder that is a file: no cookie can be read or made there, which the
  // client library complains about on stderr unless told otherwise.
  Scratch scratch;
  const std::string home = (scratch.Path() / "home").string();
  std::fclose(std::fopen(home.c_str(), "w"));
  ScopedEnvironment environment;
  environment.Set("HOME", home);
  environment.Unset("PULSE_LOG");
  QuietenAudioLibraries();

  SilentServer server;
  Reports reports;
  testing::internal::CaptureStderr();
  {
    std::optional<AudioService> audio;
    audio.emplace(
        [](SoundServer::Events& events, const Report&) {
          std::string error;
          AudioParts parts;
          parts.server = OpenPulseServer("orbivane-test", events, error);
          parts.decoder = OpenSndfileDecoder(nullptr, error);
          return parts;
        },
        reports.Sink(), AudioTiming{.connectTimeout = 300ms});
    audio->PlaySound(ORBIVANE_MEDIA_DIR "/sandshake.mp3");
    EXPECT_TRUE(reports.WaitForOne());
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(server.Reached());
  EXPECT_EQ(said, "");
}
