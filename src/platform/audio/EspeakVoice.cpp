#include "platform/audio/EspeakVoice.h"

#include <espeak-ng/espeak_ng.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>

#include "platform/audio/SharedLibrary.h"

// espeak-ng opens a sound output through pcaudiolib when its output is set up,
// even for rendering into memory: a second client of the sound server, which
// holds the audio thread for 30 s when the server does not answer. This
// definition, exported by every program that links the audio side (CMakeLists.txt
// makes the build fail otherwise), comes before pcaudiolib's in the lookup and
// gives the engine no device; it needs none. Checked with espeak-ng 1.51
// (Debian 12's 1.51+dfsg-10) with pcaudiolib 1.2: a newer engine that finds
// its device some other way would need checking again (SystemAudioTest's speech
// test sees a second connection).
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
  std::exception_ptr failure = nullptr;
};

// Called on the thread inside synthesize(), with the pieces of the rendering.
// Nothing may be thrown through the engine's C frames: a failure stops the
// rendering and is thrown again once the engine has returned.
int Collect(short* samples, int count, espeak_EVENT* events) noexcept {
  auto* rendering = static_cast<Rendering*>(events->user_data);
  try {
    if (samples && count > 0) {
      rendering->clip->samples.insert(rendering->clip->samples.end(), samples, samples + count);
    }
    return (*rendering->stopped)() ? 1 : 0;
  } catch (...) {
    rendering->failure = std::current_exception();
    return 1;
  }
}

// The engine's own message for a failed start; it names the data file it could
// not read.
std::string Message(const EspeakApi& espeak, espeak_ng_STATUS status,
                    espeak_ng_ERROR_CONTEXT context) {
  char* text = nullptr;
  std::size_t size = 0;
  if (FILE* message = open_memstream(&text, &size)) {
    espeak.print_status_code_message(status, message, context);
    std::fclose(message);
  }
  std::string line = text ? text : "";
  std::free(text);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

// The engine, started with its library; null when either cannot be used.
struct Engine {
  const EspeakApi* espeak = nullptr;
  int rate = 0;

  static Engine Start(const Report& report) {
    static SharedLibrary& library = *new SharedLibrary("libespeak-ng.so.1");
    static const EspeakApi espeak(library);
    if (!library.Usable()) {
      report("no speech: " + library.Error());
      return {};
    }
    espeak.initialize_path(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak.initialize(&context);
    // Synchronous output: the samples come to Collect.
    if (status == ENS_OK) status = espeak.initialize_output(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    const int rate = status == ENS_OK ? espeak.get_sample_rate() : 0;
    if (rate <= 0) report("no speech: espeak-ng cannot start: " + Message(espeak, status, context));
    espeak.clear_error_context(&context);
    if (rate <= 0) return {};
    // Without this voice the engine's default one speaks.
    espeak.set_voice_by_name("en-us");
    espeak.set_synth_callback(&Collect);
    return {&espeak, rate};
  }
};

// The engine is one per process and not reentrant: every voice shares it, one at
// a time. It starts at the first text, so that the first shake's sound does not
// wait for the library to load.
class EspeakVoice final : public Voice {
 public:
  explicit EspeakVoice(Report report) : report_(std::move(report)) {}

  Clip Render(const std::string& text, const Stopped& stopped) override {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    static const Engine engine = Engine::Start(report_);
    Clip clip;
    if (!engine.espeak || text.empty()) return clip;
    clip.rate = engine.rate;
    Rendering rendering{&clip, &stopped};
    engine.espeak->synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                              nullptr, &rendering);
    if (rendering.failure) std::rethrow_exception(rendering.failure);
    return clip;
  }

 private:
  const Report report_;
};

}  // namespace

std::unique_ptr<Voice> MakeEspeakVoice(Report report) {
  return std::make_unique<EspeakVoice>(std::move(report));
}

}  // namespace platform::audio
