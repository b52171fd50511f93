#include "PocketSphinxEngine.h"

#include <pocketsphinx.h>
#include <sphinxbase/cmn.h>
#include <sphinxbase/feat.h>
#include <stdexcept>
#include <type_traits>

static_assert(std::is_same_v<mfcc_t, float>, "the decoder is built with floating-point features");

PocketSphinxEngine::PocketSphinxEngine(const std::filesystem::path& modelDirectory,
                                       const std::vector<std::string>& extraArguments)
{
    std::vector<std::string> arguments = {
        "-hmm",
        (modelDirectory / "en-us").string(),
        "-lm",
        (modelDirectory / "en-us.lm.bin").string(),
        "-dict",
        (modelDirectory / "cmudict-en-us.dict").string(),
        // The decoder's progress chatter would drown the server's own output.
        "-logfn",
        "/dev/null",
    };
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    m_config =
        cmd_ln_parse_r(nullptr, ps_args(), static_cast<int32>(argv.size()), argv.data(), TRUE);
    m_decoder = m_config ? ps_init(m_config) : nullptr;
    if (!m_decoder) {
        cmd_ln_free_r(m_config);
        throw std::runtime_error("cannot load the speech model from " + modelDirectory.string());
    }
    cmn_t* mean = ps_get_feat(m_decoder)->cmn_struct;
    m_initialMean.resize(static_cast<std::size_t>(mean->veclen));
    cmn_live_get(mean, m_initialMean.data());
}

PocketSphinxEngine::~PocketSphinxEngine()
{
    ps_free(m_decoder);
    cmd_ln_free_r(m_config);
}

std::string PocketSphinxEngine::transcribe(const Speech& speech)
{
    // Heard as English, any other language comes back as English-sounding nonsense.
    if (speech.language && *speech.language != "en") {
        throw UnsupportedLanguage(
            "this server transcribes with pocketsphinx, which hears English only; to dictate in "
            "\"" +
            *speech.language +
            "\", run murmo-backend with --engine openai and a multilingual transcription server "
            "(see its README)");
    }
    forgetEarlierAudio();
    if (speech.samples.empty() || ps_start_utt(m_decoder) < 0) {
        return {};
    }
    // The whole recording is one utterance, so cepstral normalisation sees all of it at once.
    const bool processed =
        ps_process_raw(m_decoder, speech.samples.data(), speech.samples.size(), FALSE, TRUE) >= 0;
    const bool ended = ps_end_utt(m_decoder) >= 0;
    const char* hypothesis = processed && ended ? ps_get_hyp(m_decoder, nullptr) : nullptr;
    return hypothesis ? hypothesis : "";
}

void PocketSphinxEngine::forgetEarlierAudio()
{
    ps_start_stream(m_decoder);
    cmn_live_set(ps_get_feat(m_decoder)->cmn_struct, m_initialMean.data());
}
