#include "platform/wayland/SessionCapabilities.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Hold = SessionCapabilities::Hold;
using Clipboard = SessionCapabilities::Clipboard;
using Paste = SessionCapabilities::Paste;

namespace {

SessionProbe wayland()
{
    SessionProbe probe;
    probe.display = SessionProbe::Display::wayland;
    probe.waylandDisplay = u"wayland-1"_s;
    probe.seat = true;
    return probe;
}

struct Case
{
    const char* session;
    SessionProbe probe;
    Hold hold;
    Clipboard clipboard;
    Paste paste;
};

} // namespace

// Each mechanism is picked from what the session offers, in order of preference, and a seat is
// needed for anything that goes through the compositor.
TEST(SessionCapabilitiesTest, ChoosesEachMechanismFromWhatTheSessionOffers)
{
    auto wlroots = wayland();
    wlroots.dataControl = wlroots.virtualKeyboard = true;
    auto portals = wayland();
    portals.dataControl = true;
    portals.globalShortcutsVersion = 1;
    portals.remoteDesktopVersion = 2;
    portals.remoteDesktopKeyboard = true;
    auto remoteOnly = wayland();
    remoteOnly.remoteDesktopVersion = 1;
    remoteOnly.remoteDesktopKeyboard = true;
    auto readsKeyboards = remoteOnly;
    readsKeyboards.keyboardReadingChosen = true;
    readsKeyboards.keyboards = readsKeyboards.readableKeyboards = 1;
    auto unreadable = readsKeyboards;
    unreadable.readableKeyboards = 0;
    auto notChosen = readsKeyboards;
    notChosen.keyboardReadingChosen = false;
    auto noSeat = wlroots;
    noSeat.seat = false;
    auto pointerOnlyPortal = wayland();
    pointerOnlyPortal.remoteDesktopVersion = 1;
    pointerOnlyPortal.clipboardVersion = 1;
    auto gnome = remoteOnly;
    gnome.globalShortcutsVersion = 1;
    gnome.clipboardVersion = 1;

    const Case cases[] = {
        {"x11", SessionProbe{}, Hold::x11Keys, Clipboard::x11Selection, Paste::xtest},
        {"wlroots", wlroots, Hold::compositorBindings, Clipboard::dataControl,
         Paste::virtualKeyboard},
        {"portals", portals, Hold::globalShortcuts, Clipboard::dataControl, Paste::remoteDesktop},
        {"remote desktop only", remoteOnly, Hold::compositorBindings, Clipboard::x11Selection,
         Paste::remoteDesktop},
        {"keyboards read", readsKeyboards, Hold::keyboardDevices, Clipboard::x11Selection,
         Paste::remoteDesktop},
        {"keyboards unreadable", unreadable, Hold::compositorBindings, Clipboard::x11Selection,
         Paste::remoteDesktop},
        {"keyboards not chosen", notChosen, Hold::compositorBindings, Clipboard::x11Selection,
         Paste::remoteDesktop},
        {"no seat", noSeat, Hold::compositorBindings, Clipboard::x11Selection, Paste::none},
        {"portal without keyboard", pointerOnlyPortal, Hold::compositorBindings,
         Clipboard::x11Selection, Paste::none},
        {"portals with the clipboard", gnome, Hold::globalShortcuts, Clipboard::portal,
         Paste::remoteDesktop},
    };
    for (const Case& c : cases) {
        const auto chosen = SessionCapabilities::choose(c.probe);
        EXPECT_EQ(chosen.hold(), c.hold) << c.session;
        EXPECT_EQ(chosen.clipboard(), c.clipboard) << c.session;
        EXPECT_EQ(chosen.paste(), c.paste) << c.session;
    }
}

// The one message at start-up names what is missing and every way out of it; a session where
// everything works says nothing.
TEST(SessionCapabilitiesTest, StatesWhatIsMissingOnceWithWhatTheUserCanDo)
{
    EXPECT_FALSE(SessionCapabilities::choose(SessionProbe{}).limitation());
    auto portals = wayland();
    portals.globalShortcutsVersion = 1;
    portals.virtualKeyboard = true;
    EXPECT_FALSE(SessionCapabilities::choose(portals).limitation());

    const auto nothing = SessionCapabilities::choose(wayland()).limitation();
    ASSERT_TRUE(nothing);
    for (const QString& part :
         {u"neither watch the hold key nor paste"_s, u"Click the pill"_s, u"Ctrl+V"_s,
          u"X11 session"_s, u"keyboard reading"_s, u"murmo --toggle"_s})
        EXPECT_TRUE(nothing->contains(part)) << part.toStdString();

    // Keyboard reading already chosen: what is missing is the group.
    auto unreadable = wayland();
    unreadable.keyboardReadingChosen = true;
    unreadable.keyboards = 1;
    const auto noGroup = SessionCapabilities::choose(unreadable).limitation();
    ASSERT_TRUE(noGroup);
    EXPECT_TRUE(noGroup->contains(u"join the group “input”"_s));
    EXPECT_FALSE(noGroup->contains(u"turn on keyboard reading"_s));

    auto keysOnly = wayland();
    keysOnly.virtualKeyboard = true;
    const auto noKey = SessionCapabilities::choose(keysOnly).limitation();
    ASSERT_TRUE(noKey);
    EXPECT_TRUE(noKey->contains(u"watch the hold key"_s));
    EXPECT_FALSE(noKey->contains(u"Ctrl+V"_s));

    auto shortcutsOnly = wayland();
    shortcutsOnly.globalShortcutsVersion = 1;
    const auto noPaste = SessionCapabilities::choose(shortcutsOnly).limitation();
    ASSERT_TRUE(noPaste);
    EXPECT_TRUE(noPaste->contains(u"Ctrl+V"_s));
    EXPECT_FALSE(noPaste->contains(u"murmo --toggle"_s));
}

// The report shows, per service, what was found, what was chosen and why.
TEST(SessionCapabilitiesTest, ReportsWhatWasProbedChosenAndWhy)
{
    auto probe = wayland();
    probe.dataControl = true;
    probe.remoteDesktopVersion = 1;
    probe.keyboardReadingChosen = true;
    probe.keyboards = 2;
    const auto report = SessionCapabilities::choose(probe).report();

    EXPECT_TRUE(report.startsWith(u"Session: Wayland (wayland-1)"_s)) << report.toStdString();
    for (const QString& line :
         {u"Hold key         compositor key bindings only"_s,
          u"probed: no GlobalShortcuts portal; 0 of 2 keyboards readable; keyboard reading on"_s,
          u"join the group “input”"_s, u"Clipboard        data-control"_s,
          u"Paste keystroke  none: you press Ctrl+V"_s,
          u"probed: virtual keyboard not offered; RemoteDesktop portal version 1 without a "
          u"keyboard"_s})
        EXPECT_TRUE(report.contains(line)) << line.toStdString() << "\n" << report.toStdString();
}
