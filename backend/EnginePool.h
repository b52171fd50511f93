#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "SpeechEngine.h"

// Several engines behind one: each call borrows an idle engine, waiting while all are busy, so
// concurrent requests never share a decoder.
class EnginePool : public SpeechEngine
{
public:
    explicit EnginePool(std::vector<std::unique_ptr<SpeechEngine>> engines);

    std::string transcribe(std::span<const std::int16_t> samples) override;
    std::size_t size() const { return m_engines.size(); }

private:
    SpeechEngine& borrow();
    void giveBack(SpeechEngine& engine);

    std::vector<std::unique_ptr<SpeechEngine>> m_engines;
    std::vector<SpeechEngine*> m_idle;
    std::mutex m_mutex;
    std::condition_variable m_returned;
};
