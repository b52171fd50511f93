#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "SpeechEngine.h"

struct cmd_ln_s;
struct ps_decoder_s;

// Offline English recognition with pocketsphinx and a model directory laid out like Debian's
// en-us one: the acoustic model in en-us/, en-us.lm.bin and cmudict-en-us.dict beside it.
class PocketSphinxEngine : public SpeechEngine
{
public:
    // Loads the model; throws std::runtime_error when it cannot. extraArguments are further
    // decoder options as name/value pairs ("-beam", "1e-60"), for tuning.
    explicit PocketSphinxEngine(const std::filesystem::path& modelDirectory,
                                const std::vector<std::string>& extraArguments = {});
    ~PocketSphinxEngine() override;
    PocketSphinxEngine(const PocketSphinxEngine&) = delete;
    PocketSphinxEngine& operator=(const PocketSphinxEngine&) = delete;

    // Throws UnsupportedLanguage when the speech is said to be in another language than English.
    std::string transcribe(const Speech& speech) override;

private:
    // The decoder adapts its noise estimate and cepstral mean to what it hears; each recording
    // starts again from the model's own values.
    void forgetEarlierAudio();

    cmd_ln_s* m_config = nullptr;
    ps_decoder_s* m_decoder = nullptr;
    std::vector<float> m_initialMean; // mfcc_t in this build of the library
};
