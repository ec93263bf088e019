#pragma once

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <cstdint>
#include <string>

// Records a sink's monitor through the sound server's asynchronous API, one block as
// the server sends it, each stamped on arrival; and plays markers into that sink.
//
// The null sink renders a block when its clock reaches the end of the last one and
// sends it to the recording at once: a block's first sample is played about when the
// block arrives here and its last one a block later, the recording's latency. When a
// new stream starts, the sink takes back what it had rendered ahead and renders again
// from its clock with the new stream in it. What it took back has already gone to the
// recording, so the recording goes on from where it was, in a block shorter than the
// others, and misses the new stream's first part (at most a block).
class MonitorRecording {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kLoud = 328;  // 1% of full scale

  struct Block {
    std::int64_t arrivalUs;
    std::int32_t samples;
    // The first and last sample above kLoud, or -1, and the first one's value.
    std::int32_t firstLoud;
    std::int32_t lastLoud;
    std::int32_t firstLoudValue;
  };

  // SOURCE is a sink's monitor, "NAME.monitor"; markers go to sink NAME.
  MonitorRecording(const std::string& source, int latencyMs);
  ~MonitorRecording();
  MonitorRecording(const MonitorRecording&) = delete;
  MonitorRecording& operator=(const MonitorRecording&) = delete;

  // Readable when blocks are waiting.
  int Fd() const { return pipe_[0]; }
  // One waiting block; false when none is.
  bool Take(Block& block);

  // Starts a new stream on the sink whose first samples are a ramp, each sample's value
  // telling its place in the marker, and returns the time taken just before they are
  // written. The server plays a new stream's first sample as soon as it has it.
  std::int64_t PlayMarker();
  void EndMarker();
  // The place in the marker of a recorded sample of it.
  static int MarkerPlace(std::int32_t value);

  // The latency the server has configured for the sink: how far it renders ahead.
  double SinkLatencyMs();

 private:
  static void OnContextState(pa_context* context, void* self);
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnRead(pa_stream* stream, size_t bytes, void* self);
  void WaitUntilReady(pa_stream* stream);
  void EndMarkerLocked();

  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* record_ = nullptr;
  pa_stream* marker_ = nullptr;
  std::string sink_;
  int pipe_[2] = {-1, -1};
};
