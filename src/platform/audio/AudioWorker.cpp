#include "platform/audio/AudioWorker.h"

namespace platform::audio {

using Line = SoundServer::Line;

AudioWorker::AudioWorker(AudioMailbox& mailbox)
    : mailbox_(mailbox), stopped_([&mailbox] { return mailbox.StopRequested(); }) {}

// The parts go on this thread, the one that made them.
AudioWorker::~AudioWorker() = default;

void AudioWorker::Run() {
  parts_ = mailbox_.makeParts(mailbox_, [this](const std::string& line) { Report(line); });
  while (!mailbox_.StopRequested()) {
    std::optional<AudioClock::time_point> deadline;
    if (link_ == Link::Connecting) deadline = connectDeadline_;
    for (auto& message : mailbox_.Take(deadline)) {
      if (mailbox_.StopRequested()) break;
      std::visit([this](auto& m) { Handle(m); }, message);
    }
    GiveUpIfSilent();
  }
}

void AudioWorker::Handle(PlaySoundRequest& request) {
  if (!parts_.server || !parts_.decoder || !Reachable()) return;
  // Decoding the first time overlaps the connection's handshake.
  auto clip = ClipFor(request.path);
  if (!clip) return;
  if (link_ == Link::Up) {
    parts_.server->Play(Line::Sound, std::move(clip), nextId_++);
  } else {
    soundOnConnect_ = std::move(clip);
  }
}

void AudioWorker::Handle(SpeakRequest& request) {
  if (!parts_.server || !parts_.voice) return;
  if (request.interrupt) {
    texts_.clear();
    if (speaking_) parts_.server->Stop(Line::Speech);
    speaking_.reset();
  }
  if (!Reachable()) return;
  texts_.push_back(std::move(request.text));
  SpeakNext();
}

void AudioWorker::Handle(ServerConnected& event) {
  // A late answer to a connection already given up is ignored.
  if (link_ != Link::Connecting || event.connection != connection_) return;
  link_ = Link::Up;
  lastFailure_.reset();
  outageSaid_ = false;
  refusalSaid_ = false;
  if (soundOnConnect_) parts_.server->Play(Line::Sound, std::move(soundOnConnect_), nextId_++);
  soundOnConnect_.reset();
  SpeakNext();
}

void AudioWorker::Handle(ServerLost& event) {
  if (link_ != Link::Down && event.connection == connection_) Fail(event.why);
}

void AudioWorker::Handle(ClipPlayed& event) {
  if (!event.failure.empty() && link_ == Link::Up && !refusalSaid_) {
    Report("no sound or speech: " + event.failure);
    refusalSaid_ = true;
  }
  if (event.line != Line::Speech || speaking_ != event.id) return;
  speaking_.reset();
  SpeakNext();
}

bool AudioWorker::Reachable() {
  if (link_ != Link::Down) return true;
  const auto now = Now();
  if (lastFailure_ && now - *lastFailure_ < mailbox_.timing.retryAfter) return false;
  link_ = Link::Connecting;
  connectDeadline_ = now + mailbox_.timing.connectTimeout;
  parts_.server->Connect(++connection_);
  return true;
}

// The deadline is judged on the server's answer alone: one that came while this
// thread was busy waits in the mailbox and counts.
void AudioWorker::GiveUpIfSilent() {
  if (link_ != Link::Connecting || Now() < connectDeadline_) return;
  if (mailbox_.AnswerWaiting(connection_)) return;
  Fail("the sound server does not answer");
}

void AudioWorker::Fail(const std::string& why) {
  lastFailure_ = Now();
  if (!outageSaid_) Report("no sound or speech: " + why);
  outageSaid_ = true;
  parts_.server->Disconnect();
  link_ = Link::Down;
  soundOnConnect_.reset();
  texts_.clear();
  speaking_.reset();
}

std::shared_ptr<const Clip> AudioWorker::ClipFor(const std::string& path) {
  auto [entry, added] = clips_.try_emplace(path);
  if (added) entry->second = parts_.decoder->Decode(path, stopped_);
  return entry->second;
}

void AudioWorker::SpeakNext() {
  while (link_ == Link::Up && !speaking_ && !texts_.empty()) {
    auto clip = std::make_shared<const Clip>(parts_.voice->Render(texts_.front(), stopped_));
    texts_.pop_front();
    if (!clip->Playable()) continue;
    speaking_ = nextId_++;
    parts_.server->Play(Line::Speech, std::move(clip), *speaking_);
  }
}

}  // namespace platform::audio
