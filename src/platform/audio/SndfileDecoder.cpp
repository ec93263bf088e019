#include "platform/audio/SndfileDecoder.h"

#include <sndfile.h>

#include <algorithm>

#include "platform/audio/SharedLibrary.h"

namespace platform::audio {
namespace {

struct SndfileApi {
  explicit SndfileApi(SharedLibrary& library) {
    library.Bind(open, "sf_open");
    library.Bind(readf_short, "sf_readf_short");
    library.Bind(close, "sf_close");
    library.Bind(strerror, "sf_strerror");
  }

  decltype(&sf_open) open;
  decltype(&sf_readf_short) readf_short;
  decltype(&sf_close) close;
  decltype(&sf_strerror) strerror;
};

class SndfileDecoder final : public Decoder {
 public:
  SndfileDecoder(const SndfileApi& api, Report report) : sf_(api), report_(std::move(report)) {}

  std::shared_ptr<const Clip> Decode(const std::string& path, const Stopped& stopped) override {
    SF_INFO info{};
    SNDFILE* file = sf_.open(path.c_str(), SFM_READ, &info);
    if (!file) {
      report_("cannot decode " + path + ": " + sf_.strerror(nullptr));
      return nullptr;
    }
    auto clip = std::make_shared<Clip>();
    clip->rate = info.samplerate;
    clip->channels = info.channels;
    // Read a piece at a time, so that a long file does not hold up leaving.
    constexpr sf_count_t kFrames = 16384;
    std::vector<std::int16_t> piece(std::size_t(kFrames) * std::max(info.channels, 1));
    sf_count_t got = 0;
    while (!stopped() && (got = sf_.readf_short(file, piece.data(), kFrames)) > 0) {
      clip->samples.insert(clip->samples.end(), piece.begin(), piece.begin() + got * info.channels);
    }
    sf_.close(file);
    if (!clip->Playable()) {
      if (!stopped()) report_("cannot decode " + path + ": it holds no sound");
      return nullptr;
    }
    return clip;
  }

 private:
  const SndfileApi& sf_;
  const Report report_;
};

}  // namespace

std::unique_ptr<Decoder> OpenSndfileDecoder(Report report, std::string& error) {
  static SharedLibrary& library = *new SharedLibrary("libsndfile.so.1");
  static const SndfileApi api(library);
  if (!library.Usable()) {
    error = library.Error();
    return nullptr;
  }
  return std::make_unique<SndfileDecoder>(api, std::move(report));
}

}  // namespace platform::audio
