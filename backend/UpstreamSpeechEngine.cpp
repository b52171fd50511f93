#include "UpstreamSpeechEngine.h"

#include "AudioDecoder.h"
#include "Upstream.h"
#include "WavEncoder.h"

UpstreamSpeechEngine::UpstreamSpeechEngine(const Upstream& upstream, std::string model)
    : m_upstream(upstream)
    , m_model(std::move(model))
{}

std::string UpstreamSpeechEngine::transcribe(const Speech& speech)
{
    httplib::MultipartFormDataItems form = {
        {"file", WavEncoder::encode(speech.samples, AudioDecoder::sampleRate), "speech.wav",
         "audio/wav"},
        {"model", m_model, "", ""},
        {"response_format", "json", "", ""},
    };
    if (speech.language) {
        form.push_back({"language", *speech.language, "", ""});
    }
    if (speech.style) {
        form.push_back({"prompt", *speech.style, "", ""});
    }
    const auto reply = m_upstream.post("audio/transcriptions", form);
    if (!reply.is_object() || !reply.contains("text") || !reply["text"].is_string()) {
        throw UpstreamError(m_upstream.name() + " answered without a transcript");
    }
    return reply["text"].get<std::string>();
}
