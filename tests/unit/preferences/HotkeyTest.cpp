#include "preferences/Hotkey.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(HotkeyTest, EachKeyHasItsCodeFlagAndTexts)
{
    struct Row
    {
        Hotkey hotkey;
        QString raw;
        int code;
        std::uint64_t flag;
        QString label;
        QString hint;
    };
    const Row rows[] = {
        {Hotkey::rightCommand, u"rightCommand"_s, 54, 0x100000, u"Hold right ⌘"_s,
         u"Hold right ⌘ to dictate"_s},
        {Hotkey::rightOption, u"rightOption"_s, 61, 0x80000, u"Hold right ⌥"_s,
         u"Hold right ⌥ to dictate"_s},
        {Hotkey::fn, u"fn"_s, 63, 0x800000, u"Hold fn (🌐)"_s, u"Hold fn to dictate"_s},
    };
    ASSERT_EQ(std::size(rows), Hotkeys::all.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        EXPECT_EQ(Hotkeys::all[i], row.hotkey) << "declaration order";
        EXPECT_EQ(Hotkeys::rawValue(row.hotkey), row.raw);
        EXPECT_EQ(Hotkeys::fromRawValue(row.raw), row.hotkey);
        EXPECT_EQ(Hotkeys::keyCode(row.hotkey), row.code);
        EXPECT_EQ(Hotkeys::modifierFlag(row.hotkey), row.flag);
        EXPECT_EQ(Hotkeys::pickerLabel(row.hotkey), row.label);
        EXPECT_EQ(Hotkeys::hint(row.hotkey), row.hint);
    }
    for (const QString& unknown : {u""_s, u"RightCommand"_s, u"fn "_s})
        EXPECT_FALSE(Hotkeys::fromRawValue(unknown)) << qPrintable(unknown);
}

TEST(HotkeyTest, LabelsReadAsOnALinuxKeyboard)
{
    EXPECT_EQ(Hotkeys::forLinuxKeyboard(Hotkeys::pickerLabel(Hotkey::rightCommand)),
              u"Hold right Super"_s);
    EXPECT_EQ(Hotkeys::forLinuxKeyboard(Hotkeys::hint(Hotkey::rightOption)),
              u"Hold right Alt to dictate"_s);
    EXPECT_EQ(Hotkeys::forLinuxKeyboard(Hotkeys::pickerLabel(Hotkey::fn)), u"Hold fn (🌐)"_s);
}

} // namespace
