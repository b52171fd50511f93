#pragma once

#include <string>

#include "SpeechEngine.h"

class Upstream;

// Recognition by an OpenAI-compatible transcription server (whisper.cpp's server, a
// faster-whisper server, LocalAI, a hosted service): the recording goes to its
// audio/transcriptions endpoint as a 16 kHz mono WAV, with the language and the style as a prompt
// when the client gave them. It hears whatever languages the server's model knows.
class UpstreamSpeechEngine : public SpeechEngine
{
public:
    UpstreamSpeechEngine(const Upstream& upstream, std::string model);

    // Throws UpstreamError when the server gives no transcript.
    std::string transcribe(const Speech& speech) override;

private:
    const Upstream& m_upstream;
    std::string m_model;
};
