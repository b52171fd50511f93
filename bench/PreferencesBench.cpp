#include "platform/linux/JsonPreferencesStore.h"
#include "preferences/Preferences.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

// The typing nudge reads its switch on every key event, and each read checks whether the file
// changed underneath: this is the price of one keystroke's read.
static void BM_ReadNudgesSwitch(benchmark::State& state)
{
    QTemporaryDir dir;
    JsonPreferencesStore store(dir.filePath(u"preferences.json"_s));
    Preferences preferences(store);
    preferences.setNudges(true);
    preferences.setToken(QString(64, u'x'));
    for (auto _ : state)
        benchmark::DoNotOptimize(preferences.nudges());
}
BENCHMARK(BM_ReadNudgesSwitch);

// One atomic rewrite of a typical preferences file.
static void BM_WriteNudgeTime(benchmark::State& state)
{
    QTemporaryDir dir;
    JsonPreferencesStore store(dir.filePath(u"preferences.json"_s));
    Preferences preferences(store);
    preferences.setToken(QString(64, u'x'));
    preferences.setSpeakLangs({u"en"_s, u"ru"_s});
    double time = 1767225600;
    for (auto _ : state)
        preferences.setNudgeLast(time += 1);
}
BENCHMARK(BM_WriteNudgeTime);
