#include "fakes/ApiClientHarness.h"
#include "fakes/ScriptedHttpServer.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

// The client's share of one dictation of 30 s of speech: Base64, JSON, the loopback HTTP round
// trip and decoding the reply. "x_real_time" is how many times faster than the speech it is.
static void BM_DictationRequest30s(benchmark::State& state)
{
    constexpr int seconds = 30;
    const QByteArray aac(seconds * 32000 / 8, 'a'); // 32 kbit/s
    ScriptedHttpServer server;
    ApiClientHarness client(server.url());
    client.preferences.setToken(u"token"_s);
    for (auto _ : state) {
        server.script("/api/dictate", 200, R"({"text":"Hello.","raw":"hello"})");
        benchmark::DoNotOptimize(client.run(client.api.dictate(aac, u"m4a"_s, true)));
        server.received.clear();
    }
    state.counters["x_real_time"] = benchmark::Counter(double(seconds) * double(state.iterations()),
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DictationRequest30s)->UseRealTime()->Unit(benchmark::kMillisecond);
