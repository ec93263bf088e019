#include "platform/audio/EspeakVoice.h"

#include <espeak-ng/espeak_ng.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/audio/SharedLibrary.h"

// espeak-ng (1.51) opens a sound output through pcaudiolib when its output is
// set up, even for rendering into memory: a second client of the sound server,
// which holds the audio thread for 30 s when the server does not answer. This
// definition, exported by the program (see CMakeLists.txt), comes before
// pcaudiolib's in the lookup and gives the engine no device; it needs none.
extern "C" __attribute__((visibility("default"))) struct audio_object* create_audio_device_object(
    const char*, const char*, const char*) {
  return nullptr;
}

namespace platform::audio {
namespace {

struct EspeakApi {
  explicit EspeakApi(SharedLibrary& library) {
    library.Bind(initialize_path, "espeak_ng_InitializePath");
    library.Bind(initialize, "espeak_ng_Initialize");
    library.Bind(initialize_output, "espeak_ng_InitializeOutput");
    library.Bind(get_sample_rate, "espeak_ng_GetSampleRate");
    library.Bind(set_voice_by_name, "espeak_ng_SetVoiceByName");
    library.Bind(set_synth_callback, "espeak_SetSynthCallback");
    library.Bind(synthesize, "espeak_ng_Synthesize");
    library.Bind(print_status_code_message, "espeak_ng_PrintStatusCodeMessage");
    library.Bind(clear_error_context, "espeak_ng_ClearErrorContext");
  }

  decltype(&espeak_ng_InitializePath) initialize_path;
  decltype(&espeak_ng_Initialize) initialize;
  decltype(&espeak_ng_InitializeOutput) initialize_output;
  decltype(&espeak_ng_GetSampleRate) get_sample_rate;
  decltype(&espeak_ng_SetVoiceByName) set_voice_by_name;
  decltype(&espeak_SetSynthCallback) set_synth_callback;
  decltype(&espeak_ng_Synthesize) synthesize;
  decltype(&espeak_ng_PrintStatusCodeMessage) print_status_code_message;
  decltype(&espeak_ng_ClearErrorContext) clear_error_context;
};

// What one synthesis collects; the engine hands it back with every piece.
struct Rendering {
  Clip* clip;
  const Stopped* stopped;
};

// The engine is one per process and not reentrant: every voice shares it, one
// at a time.
class EspeakVoice final : public Voice {
 public:
  EspeakVoice(const EspeakApi& api, Report report) : espeak_(api), report_(std::move(report)) {}

  Clip Render(const std::string& text, const Stopped& stopped) override {
    static std::mutex engine;
    std::lock_guard lock(engine);
    static const int rate = Start();
    Clip clip;
    if (rate <= 0 || text.empty()) return clip;
    clip.rate = rate;
    Rendering rendering{&clip, &stopped};
    espeak_.synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                       nullptr, &rendering);
    return clip;
  }

 private:
  // The sample rate, or 0 when the engine cannot start.
  int Start() const {
    espeak_.initialize_path(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_.initialize(&context);
    // Synchronous output: the samples come to Collect.
    if (status == ENS_OK) status = espeak_.initialize_output(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    const int rate = status == ENS_OK ? espeak_.get_sample_rate() : 0;
    if (rate <= 0) {
      // The engine's own message names the data file it could not read.
      char* text = nullptr;
      std::size_t size = 0;
      if (FILE* message = open_memstream(&text, &size)) {
        espeak_.print_status_code_message(status, message, context);
        std::fclose(message);
      }
      std::string line = text ? text : "";
      std::free(text);
      while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
      report_("no speech: espeak-ng cannot start: " + line);
    }
    espeak_.clear_error_context(&context);
    if (rate <= 0) return 0;
    // Without this voice the engine's default one speaks.
    espeak_.set_voice_by_name("en-us");
    espeak_.set_synth_callback(&EspeakVoice::Collect);
    return rate;
  }

  // Called on the thread inside synthesize(), with the pieces of the rendering.
  static int Collect(short* samples, int count, espeak_EVENT* events) {
    auto* rendering = static_cast<Rendering*>(events->user_data);
    if (samples && count > 0) {
      rendering->clip->samples.insert(rendering->clip->samples.end(), samples, samples + count);
    }
    return (*rendering->stopped)() ? 1 : 0;
  }

  const EspeakApi& espeak_;
  const Report report_;
};

}  // namespace

std::unique_ptr<Voice> OpenEspeakVoice(Report report, std::string& error) {
  static SharedLibrary library("libespeak-ng.so.1");
  static const EspeakApi api(library);
  if (!library.Usable()) {
    error = library.Error();
    return nullptr;
  }
  return std::make_unique<EspeakVoice>(api, std::move(report));
}

}  // namespace platform::audio
