#include "FakeAudioParts.h"

#include <algorithm>
#include <new>

namespace testing_support {
namespace {

using namespace platform::audio;

std::string TextOf(const Clip& clip) {
  return std::string(clip.samples.begin(), clip.samples.end());
}

class FakeServer final : public SoundServer {
 public:
  FakeServer(std::shared_ptr<Stage> stage, Events& events) : stage_(std::move(stage)) {
    stage_->events = &events;
  }

  ~FakeServer() override {
    std::lock_guard lock(stage_->mutex);
    stage_->partsGone = true;
    stage_->changed.notify_all();
  }

  void Connect(std::uint64_t connection) override {
    {
      std::lock_guard lock(stage_->mutex);
      stage_->connection = connection;
    }
    stage_->Note("connect");
    std::unique_lock lock(stage_->mutex);
    stage_->changed.wait(lock, [&] { return !stage_->wedgeConnect || stage_->released; });
    const Stage::Answer answer = stage_->answer;
    lock.unlock();
    if (answer == Stage::Answer::Connect) stage_->events->Connected(connection);
    if (answer == Stage::Answer::Refuse) {
      stage_->events->Lost(connection, "cannot reach the sound server (Connection refused)");
    }
  }

  void Disconnect() override { stage_->Note("disconnect"); }

  void Play(Line line, std::shared_ptr<const Clip> clip, std::uint64_t id) override {
    if (stage_->noDevice) {
      stage_->events->Played(line, id, "the sound server cannot play (No such entity)");
    }
    if (line == Line::Sound) {
      {
        std::lock_guard lock(stage_->mutex);
        stage_->soundsPlayed.push_back(clip);
      }
      stage_->Note("play sound");
      return;
    }
    {
      std::lock_guard lock(stage_->mutex);
      stage_->speaking = id;
    }
    stage_->Note("play speech " + TextOf(*clip));
  }

  void Stop(Line line) override {
    stage_->Note(line == Line::Sound ? "stop sound" : "stop speech");
  }

 private:
  std::shared_ptr<Stage> stage_;
};

class FakeDecoder final : public Decoder {
 public:
  explicit FakeDecoder(std::shared_ptr<Stage> stage) : stage_(std::move(stage)) {}

  std::shared_ptr<const Clip> Decode(const std::string&, const Stopped&) override {
    std::lock_guard lock(stage_->mutex);
    ++stage_->decodes;
    if (stage_->decodeThrows) throw std::bad_alloc();
    stage_->clock += stage_->decodeTime;
    // Ten minutes at 8 kHz; nothing plays it in real time, only the server's
    // answer ends it.
    auto clip = std::make_shared<Clip>();
    clip->rate = 8000;
    clip->samples.assign(8000 * 600, 1000);
    return clip;
  }

 private:
  std::shared_ptr<Stage> stage_;
};

class FakeVoice final : public Voice {
 public:
  explicit FakeVoice(std::shared_ptr<Stage> stage) : stage_(std::move(stage)) {}

  Clip Render(const std::string& text, const Stopped&) override {
    {
      std::lock_guard lock(stage_->mutex);
      stage_->rendered.push_back(text);
    }
    Clip clip;
    clip.rate = 22050;
    clip.samples.assign(text.begin(), text.end());
    return clip;
  }

 private:
  std::shared_ptr<Stage> stage_;
};

}  // namespace

MakeAudioParts FakeParts(std::shared_ptr<Stage> stage) {
  return [stage](SoundServer::Events& events, const Report& report) {
    AudioParts parts;
    parts.server = std::make_unique<FakeServer>(stage, events);
    parts.decoder = std::make_unique<FakeDecoder>(stage);
    if (stage->voiceMissing) {
      report("no speech: libespeak-ng.so.1: cannot open shared object file");
    } else {
      parts.voice = std::make_unique<FakeVoice>(stage);
    }
    return parts;
  };
}

AudioTiming StageTiming(std::shared_ptr<Stage> stage, AudioTiming timing) {
  timing.now = [stage] { return stage->Now(); };
  return timing;
}

Report ReportTo(std::shared_ptr<Stage> stage) {
  return [stage](const std::string& line) {
    std::lock_guard lock(stage->mutex);
    stage->reports.push_back(line);
    stage->changed.notify_all();
  };
}

}  // namespace testing_support
