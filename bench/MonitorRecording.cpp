#include "MonitorRecording.h"

#include <fcntl.h>
#include <pulse/introspect.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "MonotonicClock.h"

namespace {

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "orbivane_shakewatch: %s\n", message.c_str());
  std::exit(1);
}

const pa_sample_spec kSpec = {PA_SAMPLE_S16LE, MonitorRecording::kRate, 1};

// The ramp is well above kLoud from its first sample and long enough to outlast what
// the sink takes back; the sound server passes it through unchanged.
constexpr int kRampBase = 1000;
constexpr int kRampStep = 16;
constexpr int kRampSamples = 1000;

}  // namespace

MonitorRecording::MonitorRecording(const std::string& source, int latencyMs) {
  const std::string suffix = ".monitor";
  if (source.size() <= suffix.size() ||
      source.compare(source.size() - suffix.size(), suffix.size(), suffix) != 0)
    Fail(source + " is not a sink's monitor");
  sink_ = source.substr(0, source.size() - suffix.size());
  if (pipe(pipe_) != 0) Fail("pipe");
  fcntl(pipe_[0], F_SETFL, O_NONBLOCK);

  loop_ = pa_threaded_mainloop_new();
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "orbivane_shakewatch");
  pa_context_set_state_callback(context_, OnContextState, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0 ||
      pa_threaded_mainloop_start(loop_) < 0)
    Fail("cannot reach the sound server");
  pa_threaded_mainloop_lock(loop_);
  for (;;) {
    const pa_context_state_t state = pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) break;
    if (!PA_CONTEXT_IS_GOOD(state)) Fail("cannot reach the sound server");
    pa_threaded_mainloop_wait(loop_);
  }
  record_ = pa_stream_new(context_, "monitor", &kSpec, nullptr);
  pa_buffer_attr attr{};
  attr.maxlength = std::uint32_t(-1);
  attr.fragsize = std::uint32_t(pa_usec_to_bytes(pa_usec_t(latencyMs) * 1000, &kSpec));
  pa_stream_set_state_callback(record_, OnStreamState, this);
  pa_stream_set_read_callback(record_, OnRead, this);
  if (pa_stream_connect_record(record_, source.c_str(), &attr, PA_STREAM_ADJUST_LATENCY) < 0)
    Fail("cannot record " + source);
  WaitUntilReady(record_);
  pa_threaded_mainloop_unlock(loop_);
}

MonitorRecording::~MonitorRecording() {
  pa_threaded_mainloop_lock(loop_);
  EndMarkerLocked();
  pa_stream_disconnect(record_);
  pa_stream_unref(record_);
  pa_context_disconnect(context_);
  pa_context_unref(context_);
  pa_threaded_mainloop_unlock(loop_);
  pa_threaded_mainloop_stop(loop_);
  pa_threaded_mainloop_free(loop_);
  close(pipe_[0]);
  close(pipe_[1]);
}

bool MonitorRecording::Take(Block& block) {
  return read(pipe_[0], &block, sizeof block) == ssize_t(sizeof block);
}

std::int64_t MonitorRecording::PlayMarker() {
  // Longer than the stream's buffer, so that the server starts it with the first write.
  std::vector<std::int16_t> samples(kRate / 20);
  for (int i = 0; i < kRampSamples; ++i) samples[i] = std::int16_t(kRampBase + i * kRampStep);
  const auto bytes = std::uint32_t(samples.size() * sizeof samples[0]);
  pa_threaded_mainloop_lock(loop_);
  EndMarkerLocked();
  marker_ = pa_stream_new(context_, "marker", &kSpec, nullptr);
  pa_buffer_attr attr{};
  attr.maxlength = std::uint32_t(-1);
  attr.tlength = bytes / 2;
  attr.prebuf = std::uint32_t(-1);
  attr.minreq = std::uint32_t(-1);
  pa_stream_set_state_callback(marker_, OnStreamState, this);
  if (pa_stream_connect_playback(marker_, sink_.c_str(), &attr, PA_STREAM_NOFLAGS, nullptr,
                                 nullptr) < 0)
    Fail("cannot play into " + sink_);
  WaitUntilReady(marker_);
  const std::int64_t sentUs = NowUs();
  pa_stream_write(marker_, samples.data(), bytes, nullptr, 0, PA_SEEK_RELATIVE);
  pa_threaded_mainloop_unlock(loop_);
  return sentUs;
}

int MonitorRecording::MarkerPlace(std::int32_t value) {
  return int(std::lround(double(value - kRampBase) / kRampStep));
}

double MonitorRecording::SinkLatencyMs() {
  struct Query {
    pa_threaded_mainloop* loop;
    double ms = NAN;
    bool done = false;
  } query{loop_};
  pa_threaded_mainloop_lock(loop_);
  pa_operation* operation = pa_context_get_sink_info_by_name(
      context_, sink_.c_str(),
      [](pa_context*, const pa_sink_info* info, int eol, void* data) {
        auto* query = static_cast<Query*>(data);
        if (info) query->ms = info->configured_latency / 1000.0;
        if (eol) {
          query->done = true;
          pa_threaded_mainloop_signal(query->loop, 0);
        }
      },
      &query);
  while (operation && !query.done) pa_threaded_mainloop_wait(loop_);
  if (operation) pa_operation_unref(operation);
  pa_threaded_mainloop_unlock(loop_);
  return query.ms;
}

void MonitorRecording::EndMarker() {
  pa_threaded_mainloop_lock(loop_);
  EndMarkerLocked();
  pa_threaded_mainloop_unlock(loop_);
}

void MonitorRecording::EndMarkerLocked() {
  if (!marker_) return;
  pa_stream_disconnect(marker_);
  pa_stream_unref(marker_);
  marker_ = nullptr;
}

void MonitorRecording::WaitUntilReady(pa_stream* stream) {
  for (;;) {
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY) return;
    if (!PA_STREAM_IS_GOOD(state)) Fail("the sound server refused a stream");
    pa_threaded_mainloop_wait(loop_);
  }
}

void MonitorRecording::OnContextState(pa_context*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorRecording*>(self)->loop_, 0);
}

void MonitorRecording::OnStreamState(pa_stream*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorRecording*>(self)->loop_, 0);
}

// Runs on the main loop's thread; the blocks go through a pipe to the thread that polls.
void MonitorRecording::OnRead(pa_stream* stream, size_t, void* self) {
  const int fd = static_cast<MonitorRecording*>(self)->pipe_[1];
  const void* data = nullptr;
  size_t bytes = 0;
  while (pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
    Block block{NowUs(), std::int32_t(bytes / 2), -1, -1, 0};
    // Without data the block is a hole in the recording: quiet.
    const auto* samples = static_cast<const std::int16_t*>(data);
    for (std::int32_t i = 0; samples && i < block.samples; ++i) {
      if (std::abs(int(samples[i])) <= kLoud) continue;
      if (block.firstLoud < 0) {
        block.firstLoud = i;
        block.firstLoudValue = samples[i];
      }
      block.lastLoud = i;
    }
    pa_stream_drop(stream);
    if (write(fd, &block, sizeof block) != ssize_t(sizeof block)) Fail("pipe");
  }
}
