#include "platform/linux/X11KeyTranslator.h"

#include <gtest/gtest.h>

#include <tuple>

using Kind = KeyEventMonitors::Kind;
using Event = std::optional<std::tuple<Kind, int, std::uint64_t>>;

TEST(X11KeyTranslatorTest, TracksModifiersPerPhysicalKey)
{
    constexpr auto flags = Kind::flagsChanged;
    constexpr auto down = Kind::keyDown;
    constexpr auto command = ModifierFlags::command;
    constexpr auto option = ModifierFlags::option;
    constexpr auto shift = ModifierFlags::shift;
    constexpr auto rightCommand = ModifierFlags::rightCommandKey;
    constexpr auto rightOption = ModifierFlags::rightOptionKey;
    X11KeyTranslator keys;
    const auto simplified = [](const auto& translated) -> Event {
        if (!translated)
            return std::nullopt;
        return std::tuple{translated->kind, translated->event.keyCode,
                          translated->event.modifierFlags};
    };
    const auto press = [&](int xKeycode) { return simplified(keys.press(xKeycode)); };
    const auto release = [&](int xKeycode) { return simplified(keys.release(xKeycode)); };

    EXPECT_EQ(press(134), Event({flags, 54, command | rightCommand})); // right Super
    EXPECT_EQ(press(133), Event({flags, 55, command | rightCommand})); // left Super
    EXPECT_EQ(press(133), std::nullopt); // held modifiers do not repeat
    // The left one still holds the shared flag; the right one's own is gone.
    EXPECT_EQ(release(134), Event({flags, 54, command}));
    EXPECT_EQ(release(133), Event({flags, 55, 0}));
    EXPECT_EQ(press(108), Event({flags, 61, option | rightOption})); // right Alt
    EXPECT_EQ(press(62), Event({flags, 60, option | rightOption | shift}));
    EXPECT_EQ(press(55), Event({down, 9, option | rightOption | shift})); // V
    EXPECT_EQ(press(55), Event({down, 9, option | rightOption | shift})); // auto-repeat
    EXPECT_EQ(release(55), std::nullopt);
    EXPECT_EQ(release(108), Event({flags, 61, shift}));
    // Caps Lock changes flags rather than typing, whatever the lock's state.
    EXPECT_EQ(press(66), Event({flags, 57, shift}));
    EXPECT_EQ(release(66), Event({flags, 57, shift}));
    EXPECT_EQ(press(9), Event({down, 53, shift})); // Escape
    EXPECT_EQ(press(248), std::nullopt);           // no code of ours
    EXPECT_EQ(release(248), std::nullopt);
}
