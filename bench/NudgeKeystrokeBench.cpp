// What the typing nudge costs for each key the user types in another application: the checks,
// the burst count, the preferences file's switch and the window system's answer to which
// application is in front. Needs a display:
//   scripts/with-desktop build/bench/nudge_keystroke_bench
#include "fakes/ControllerHarness.h"
#include "fakes/FakeKeyEventMonitors.h"
#include "fakes/FakeNudgeCards.h"
#include "fakes/FakeWorkspace.h"
#include "nudge/TypingNudge.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/linux/X11Atoms.h"
#include "platform/linux/X11FrontmostApplication.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// Another application's window, made active as a window manager would announce it.
void activateAnotherWindow(const XcbConnection& x11)
{
    xcb_connection_t* c = x11.get();
    const auto [active, pid] = internAtoms<2>(c, {"_NET_ACTIVE_WINDOW", "_NET_WM_PID"});
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, x11.root(), 0, 0, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    const std::uint32_t otherPid = 1;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, pid, XCB_ATOM_CARDINAL, 32, 1, &otherPid);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, 12,
                        "gedit\0Gedit\0");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, x11.root(), active, XCB_ATOM_WINDOW, 32, 1,
                        &window);
    x11.sync();
}

} // namespace

static void BM_CountedKeystroke(benchmark::State& state)
{
    // Held for the whole run: Xvfb resets itself, refusing clients a while, when the last one
    // leaves.
    static const auto x11 = [] {
        auto connection = XcbConnection::open();
        if (connection)
            activateAnotherWindow(*connection);
        return connection;
    }();
    if (!x11) {
        state.SkipWithError("no display: run under scripts/with-desktop");
        return;
    }
    ControllerHarness dictation;
    QTemporaryDir dir;
    JsonPreferencesStore store(dir.filePath(u"preferences.json"_s));
    Preferences preferences(store);
    // Silenced, so the burst keeps counting and no card interrupts it.
    preferences.setNudgeSuppress(4e9);
    FakeKeyEventMonitors keys;
    FakeWorkspace workspace;
    X11FrontmostApplication frontmost;
    FakeNudgeCards cards;
    TypingNudge nudge{
        {dictation.time, dictation.time, preferences, keys, workspace, frontmost, cards}};
    nudge.setController(*dictation.controller);
    nudge.start();
    const KeyEvent key{0, 0, u"a"_s};
    for (auto _ : state)
        keys.send(KeyEventMonitors::Scope::global, KeyEventMonitors::Kind::keyDown, key);
}
BENCHMARK(BM_CountedKeystroke);
