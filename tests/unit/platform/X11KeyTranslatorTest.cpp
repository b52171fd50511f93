#include "platform/linux/X11KeyTranslator.h"

#include <gtest/gtest.h>

#include <tuple>

using Kind = KeyEventMonitors::Kind;
using Event = std::optional<std::tuple<Kind, int, std::uint64_t>>;

namespace {

constexpr auto flags = Kind::flagsChanged;
constexpr auto down = Kind::keyDown;
constexpr auto command = ModifierFlags::command;
constexpr auto option = ModifierFlags::option;
constexpr auto shift = ModifierFlags::shift;
constexpr auto control = ModifierFlags::control;

Event simplified(const std::optional<X11KeyTranslator::Translated>& translated)
{
    if (!translated)
        return std::nullopt;
    return std::tuple{translated->kind, translated->event.keyCode, translated->event.modifierFlags};
}

} // namespace

TEST(X11KeyTranslatorTest, ModifiersAreTrackedPerPhysicalKey)
{
    X11KeyTranslator keys;
    const auto press = [&](int xKeycode) { return simplified(keys.press(xKeycode)); };
    const auto release = [&](int xKeycode) { return simplified(keys.release(xKeycode)); };

    EXPECT_EQ(press(134), Event({flags, 54, command}));   // right Super
    EXPECT_EQ(press(133), Event({flags, 55, command}));   // left Super
    EXPECT_EQ(press(133), std::nullopt);                  // held modifiers do not repeat
    EXPECT_EQ(release(134), Event({flags, 54, command})); // left one still holds the flag
    EXPECT_EQ(release(133), Event({flags, 55, 0}));
    EXPECT_EQ(release(133), Event({flags, 55, 0}));

    EXPECT_EQ(press(108), Event({flags, 61, option})); // right Alt
    EXPECT_EQ(press(64), Event({flags, 58, option}));  // left Alt
    EXPECT_EQ(press(62), Event({flags, 60, option | shift}));
    EXPECT_EQ(press(105), Event({flags, 62, option | shift | control}));
    EXPECT_EQ(release(108), Event({flags, 61, option | shift | control}));
    EXPECT_EQ(release(64), Event({flags, 58, shift | control}));
    EXPECT_EQ(release(62), Event({flags, 60, control}));
    EXPECT_EQ(release(105), Event({flags, 62, 0}));
}

TEST(X11KeyTranslatorTest, OtherKeysMakeKeyDownsOnly)
{
    X11KeyTranslator keys;
    EXPECT_EQ(simplified(keys.press(9)), Event({down, 53, 0})); // Escape
    EXPECT_EQ(simplified(keys.release(9)), std::nullopt);
    EXPECT_EQ(simplified(keys.press(37)), Event({flags, 59, control}));
    EXPECT_EQ(simplified(keys.press(55)), Event({down, 9, control})); // V
    EXPECT_EQ(simplified(keys.press(55)), Event({down, 9, control})); // auto-repeat
    EXPECT_EQ(simplified(keys.press(38)), Event({down, 0, control})); // A
    EXPECT_EQ(simplified(keys.press(248)), std::nullopt);             // no code of ours
    EXPECT_EQ(simplified(keys.release(248)), std::nullopt);
}
