#include "platform/audio/PulseServer.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/audio/SharedLibrary.h"

namespace platform::audio {
namespace {

using Line = SoundServer::Line;

// How far ahead of the speaker the server is fed; a stop drops the stream whatever
// it holds. The server sets its output latency to about a third of it, which is
// how soon a play is heard; less would wake the loop thread more often.
constexpr pa_usec_t kBufferUsec = 100'000;

struct PulseApi {
  explicit PulseApi(SharedLibrary& library) {
    library.Bind(mainloop_new, "pa_threaded_mainloop_new");
    library.Bind(mainloop_free, "pa_threaded_mainloop_free");
    library.Bind(mainloop_start, "pa_threaded_mainloop_start");
    library.Bind(mainloop_stop, "pa_threaded_mainloop_stop");
    library.Bind(mainloop_lock, "pa_threaded_mainloop_lock");
    library.Bind(mainloop_unlock, "pa_threaded_mainloop_unlock");
    library.Bind(mainloop_get_api, "pa_threaded_mainloop_get_api");
    library.Bind(context_new, "pa_context_new");
    library.Bind(context_set_state_callback, "pa_context_set_state_callback");
    library.Bind(context_connect, "pa_context_connect");
    library.Bind(context_get_state, "pa_context_get_state");
    library.Bind(context_errno, "pa_context_errno");
    library.Bind(context_disconnect, "pa_context_disconnect");
    library.Bind(context_unref, "pa_context_unref");
    library.Bind(stream_new, "pa_stream_new");
    library.Bind(stream_set_state_callback, "pa_stream_set_state_callback");
    library.Bind(stream_set_write_callback, "pa_stream_set_write_callback");
    library.Bind(stream_connect_playback, "pa_stream_connect_playback");
    library.Bind(stream_get_state, "pa_stream_get_state");
    library.Bind(stream_write, "pa_stream_write");
    library.Bind(stream_drain, "pa_stream_drain");
    library.Bind(stream_flush, "pa_stream_flush");
    library.Bind(stream_writable_size, "pa_stream_writable_size");
    library.Bind(stream_disconnect, "pa_stream_disconnect");
    library.Bind(stream_unref, "pa_stream_unref");
    library.Bind(operation_unref, "pa_operation_unref");
    library.Bind(operation_cancel, "pa_operation_cancel");
    library.Bind(strerror, "pa_strerror");
  }

  decltype(&pa_threaded_mainloop_new) mainloop_new;
  decltype(&pa_threaded_mainloop_free) mainloop_free;
  decltype(&pa_threaded_mainloop_start) mainloop_start;
  decltype(&pa_threaded_mainloop_stop) mainloop_stop;
  decltype(&pa_threaded_mainloop_lock) mainloop_lock;
  decltype(&pa_threaded_mainloop_unlock) mainloop_unlock;
  decltype(&pa_threaded_mainloop_get_api) mainloop_get_api;
  decltype(&pa_context_new) context_new;
  decltype(&pa_context_set_state_callback) context_set_state_callback;
  decltype(&pa_context_connect) context_connect;
  decltype(&pa_context_get_state) context_get_state;
  decltype(&pa_context_errno) context_errno;
  decltype(&pa_context_disconnect) context_disconnect;
  decltype(&pa_context_unref) context_unref;
  decltype(&pa_stream_new) stream_new;
  decltype(&pa_stream_set_state_callback) stream_set_state_callback;
  decltype(&pa_stream_set_write_callback) stream_set_write_callback;
  decltype(&pa_stream_connect_playback) stream_connect_playback;
  decltype(&pa_stream_get_state) stream_get_state;
  decltype(&pa_stream_write) stream_write;
  decltype(&pa_stream_drain) stream_drain;
  decltype(&pa_stream_flush) stream_flush;
  decltype(&pa_stream_writable_size) stream_writable_size;
  decltype(&pa_stream_disconnect) stream_disconnect;
  decltype(&pa_stream_unref) stream_unref;
  decltype(&pa_operation_unref) operation_unref;
  decltype(&pa_operation_cancel) operation_cancel;
  decltype(&pa_strerror) strerror;
};

// Two threads use it: the audio thread, which calls it, and the client library's
// loop thread, which runs the callbacks. Everything but the constructor and the
// destructor runs with the main loop's lock held: on the audio thread under Lock,
// or in a callback on the loop's thread. Callbacks find their stream by its
// pa_stream, so that one for a stream already let go finds nothing, and they
// let nothing escape into the library's C frames.
class PulseServer final : public SoundServer {
 public:
  PulseServer(const PulseApi& api, std::string client, Events& events)
      : pa_(api), client_(std::move(client)), events_(events) {}

  ~PulseServer() override {
    if (!loop_) return;
    Disconnect();
    // Stopping joins the loop's thread, so it must not hold the lock.
    pa_.mainloop_stop(loop_);
    pa_.mainloop_free(loop_);
  }

  void Connect(std::uint64_t connection) override {
    if (!loop_ && !StartLoop()) {
      events_.Lost(connection, "the sound server's client library cannot start a thread");
      return;
    }
    Lock lock(*this);
    DropContext();
    connection_ = connection;
    context_ = pa_.context_new(pa_.mainloop_get_api(loop_), client_.c_str());
    if (!context_) {
      events_.Lost(connection, "the sound server's client library cannot start");
      return;
    }
    pa_.context_set_state_callback(context_, &PulseServer::ContextChanged, this);
    // A program has no business starting a sound server of its own.
    if (pa_.context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
      events_.Lost(connection, Why("cannot reach the sound server"));
    }
  }

  void Disconnect() override {
    if (!loop_) return;
    Lock lock(*this);
    DropContext();
  }

  void Play(Line line, std::shared_ptr<const Clip> clip, std::uint64_t id) override {
    if (!loop_) return;
    Lock lock(*this);
    Playback& playback = playbacks_[Index(line)];
    if (Restart(playback, clip, id)) return;
    Release(playback);
    if (!context_ || pa_.context_get_state(context_) != PA_CONTEXT_READY || !clip->Playable()) {
      events_.Played(line, id, "");
      return;
    }
    if (clip->channels > int(PA_CHANNELS_MAX) || clip->rate > int(PA_RATE_MAX)) {
      events_.Played(line, id,
                     "the sound server cannot play " + std::to_string(clip->channels) +
                         " channels at " + std::to_string(clip->rate) + " Hz");
      return;
    }
    const pa_sample_spec spec{.format = PA_SAMPLE_S16LE,
                              .rate = std::uint32_t(clip->rate),
                              .channels = std::uint8_t(clip->channels)};
    playback.stream =
        pa_.stream_new(context_, line == Line::Sound ? "sound" : "speech", &spec, nullptr);
    if (!playback.stream) {
      events_.Played(line, id, Why("the sound server cannot play"));
      return;
    }
    const auto bytesPerSecond = std::uint64_t(clip->rate) * clip->FrameBytes();
    const pa_buffer_attr buffer{.maxlength = std::uint32_t(-1),
                                .tlength = std::uint32_t(bytesPerSecond * kBufferUsec / 1'000'000),
                                .prebuf = std::uint32_t(-1),
                                .minreq = std::uint32_t(-1),
                                .fragsize = std::uint32_t(-1)};
    playback.clip = std::move(clip);
    playback.id = id;
    pa_.stream_set_state_callback(playback.stream, &PulseServer::StreamChanged, this);
    pa_.stream_set_write_callback(playback.stream, &PulseServer::Writable, this);
    if (pa_.stream_connect_playback(playback.stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                    nullptr, nullptr) < 0) {
      Finish(playback, Why("the sound server cannot play"));
    }
  }

  void Stop(Line line) override {
    if (!loop_) return;
    Lock lock(*this);
    Release(playbacks_[Index(line)]);
  }

 private:
  struct Playback {
    pa_stream* stream = nullptr;
    std::shared_ptr<const Clip> clip;
    std::size_t written = 0;  // bytes
    pa_operation* drain = nullptr;
    std::uint64_t id = 0;
  };

  class Lock {
   public:
    explicit Lock(PulseServer& server) : server_(server) {
      server_.pa_.mainloop_lock(server_.loop_);
    }
    ~Lock() { server_.pa_.mainloop_unlock(server_.loop_); }

   private:
    PulseServer& server_;
  };

  // One playback slot a line, in the order of the lines.
  static std::size_t Index(Line line) { return line == Line::Sound ? 0 : 1; }
  Line LineOf(const Playback& playback) const {
    return &playback == &playbacks_[Index(Line::Sound)] ? Line::Sound : Line::Speech;
  }

  bool StartLoop() {
    loop_ = pa_.mainloop_new();
    if (loop_ && pa_.mainloop_start(loop_) < 0) {
      pa_.mainloop_free(loop_);
      loop_ = nullptr;
    }
    return loop_ != nullptr;
  }

  std::string Why(const char* what) const {
    return std::string(what) + " (" + pa_.strerror(pa_.context_errno(context_)) + ")";
  }

  void DropContext() {
    for (auto& playback : playbacks_) Release(playback);
    if (!context_) return;
    pa_.context_set_state_callback(context_, nullptr, nullptr);
    pa_.context_disconnect(context_);
    pa_.context_unref(context_);
    context_ = nullptr;
    ready_ = false;
  }

  // A clip of the same kind as the one on the line starts again on its stream: a
  // new stream for every play piles them up on the server faster than it drops the
  // old ones when the plays come in a burst (an auto-clicker on the ball), and it
  // refuses more than a few hundred.
  bool Restart(Playback& playback, std::shared_ptr<const Clip>& clip, std::uint64_t id) {
    if (!playback.stream || !clip->Playable() || clip->rate != playback.clip->rate ||
        clip->channels != playback.clip->channels) {
      return false;
    }
    const pa_stream_state_t state = pa_.stream_get_state(playback.stream);
    if (state != PA_STREAM_CREATING && state != PA_STREAM_READY) return false;
    CancelDrain(playback);
    playback.clip = std::move(clip);
    playback.id = id;
    playback.written = 0;
    if (state == PA_STREAM_READY) {
      // What the server holds of the last clip goes; the new one follows at once.
      if (pa_operation* flush = pa_.stream_flush(playback.stream, nullptr, nullptr)) {
        pa_.operation_unref(flush);
      }
      const std::size_t writable = pa_.stream_writable_size(playback.stream);
      if (writable != std::size_t(-1) && writable > 0) OnWritable(playback.stream, writable);
    }
    return true;
  }

  void CancelDrain(Playback& playback) {
    if (!playback.drain) return;
    pa_.operation_cancel(playback.drain);
    pa_.operation_unref(playback.drain);
    playback.drain = nullptr;
  }

  // Disconnecting the stream stops it at once, however much of the clip is left.
  void Release(Playback& playback) {
    CancelDrain(playback);
    if (playback.stream) {
      pa_.stream_set_state_callback(playback.stream, nullptr, nullptr);
      pa_.stream_set_write_callback(playback.stream, nullptr, nullptr);
      pa_.stream_disconnect(playback.stream);
      pa_.stream_unref(playback.stream);
    }
    playback = Playback{};
  }

  void Finish(Playback& playback, const std::string& failure = "") {
    const std::uint64_t id = playback.id;
    Release(playback);
    events_.Played(LineOf(playback), id, failure);
  }

  Playback* Find(pa_stream* stream) {
    for (auto& playback : playbacks_) {
      if (playback.stream == stream) return &playback;
    }
    return nullptr;
  }

  // Runs a callback's body; what it throws goes to the audio thread.
  template <typename Body>
  static void Guarded(void* data, Body body) noexcept {
    auto& self = *static_cast<PulseServer*>(data);
    try {
      body(self);
    } catch (...) {
      self.events_.Broke(std::current_exception());
    }
  }

  static void ContextChanged(pa_context* context, void* data) {
    Guarded(data, [context](PulseServer& self) { self.OnContextChanged(context); });
  }
  static void StreamChanged(pa_stream* stream, void* data) {
    Guarded(data, [stream](PulseServer& self) { self.OnStreamChanged(stream); });
  }
  static void Writable(pa_stream* stream, std::size_t bytes, void* data) {
    Guarded(data, [stream, bytes](PulseServer& self) { self.OnWritable(stream, bytes); });
  }
  static void Drained(pa_stream* stream, int, void* data) {
    Guarded(data, [stream](PulseServer& self) {
      Playback* playback = self.Find(stream);
      if (!playback) return;
      // The drain is over; only our reference to it is left.
      self.pa_.operation_unref(std::exchange(playback->drain, nullptr));
      self.Finish(*playback);
    });
  }

  void OnContextChanged(pa_context* context) {
    switch (pa_.context_get_state(context)) {
      case PA_CONTEXT_READY:
        ready_ = true;
        events_.Connected(connection_);
        break;
      case PA_CONTEXT_FAILED:
      case PA_CONTEXT_TERMINATED:
        events_.Lost(connection_,
                     Why(ready_ ? "lost the sound server" : "cannot reach the sound server"));
        break;
      default:
        break;
    }
  }

  void OnStreamChanged(pa_stream* stream) {
    Playback* playback = Find(stream);
    const pa_stream_state_t state = pa_.stream_get_state(stream);
    if (!playback) return;
    // A stream fails with its connection too; that loss is said on its own.
    if (state == PA_STREAM_FAILED && pa_.context_get_state(context_) == PA_CONTEXT_READY) {
      Finish(*playback, Why("the sound server cannot play"));
    } else if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
      Finish(*playback);
    }
  }

  // The clip goes to the server a piece at a time, as much as it asks for.
  void OnWritable(pa_stream* stream, std::size_t bytes) {
    Playback* playback = Find(stream);
    if (!playback || playback->drain) return;
    const auto* start = reinterpret_cast<const char*>(playback->clip->samples.data());
    const std::size_t size = playback->clip->samples.size() * sizeof(std::int16_t);
    const std::size_t frame = playback->clip->FrameBytes();
    const std::size_t piece = std::min(bytes, size - playback->written) / frame * frame;
    if (piece > 0) {
      pa_.stream_write(stream, start + playback->written, piece, nullptr, 0, PA_SEEK_RELATIVE);
      playback->written += piece;
    }
    if (playback->written + frame > size) {
      playback->drain = pa_.stream_drain(stream, &PulseServer::Drained, this);
      if (!playback->drain) Finish(*playback, Why("the sound server cannot play"));
    }
  }

  const PulseApi& pa_;
  const std::string client_;
  Events& events_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  std::uint64_t connection_ = 0;
  bool ready_ = false;
  std::array<Playback, 2> playbacks_;
};

}  // namespace

std::unique_ptr<SoundServer> OpenPulseServer(const std::string& client, SoundServer::Events& events,
                                             std::string& error) {
  // Loaded once; its functions stay usable for the rest of the run.
  static SharedLibrary& library = *new SharedLibrary("libpulse.so.0");
  static const PulseApi api(library);
  if (!library.Usable()) {
    error = library.Error();
    return nullptr;
  }
  return std::make_unique<PulseServer>(api, client, events);
}

}  // namespace platform::audio
