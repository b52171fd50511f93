#include "preferences/Preferences.h"

#include "fakes/MemoryPreferencesStore.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PreferencesTest : public testing::Test
{
protected:
    MemoryPreferencesStore store;
    Preferences preferences{store};
};

TEST_F(PreferencesTest, FreshInstallationReadsTheDefaults)
{
    EXPECT_EQ(preferences.hotkey(), Hotkey::rightCommand);
    EXPECT_FALSE(preferences.onboarded());
    EXPECT_EQ(preferences.speakLang(), QString());
    EXPECT_EQ(preferences.token(), QString());
    EXPECT_EQ(preferences.device(), QString());
    EXPECT_EQ(preferences.style(), QString());
    EXPECT_TRUE(preferences.icloudSync());
    EXPECT_TRUE(preferences.nudges());
    EXPECT_EQ(preferences.nudgeLast(), 0.0);
    EXPECT_EQ(preferences.nudgeSuppress(), 0.0);
}

TEST_F(PreferencesTest, UnknownHotkeyReadsAsRightCommandUntilOverwritten)
{
    store.setValue(u"murmo.mac.hotkey"_s, u"leftShift"_s);
    EXPECT_EQ(preferences.hotkey(), Hotkey::rightCommand);
    store.setValue(u"murmo.mac.hotkey"_s, true);
    EXPECT_EQ(preferences.hotkey(), Hotkey::rightCommand);

    preferences.setHotkey(Hotkey::rightOption);
    EXPECT_EQ(store.text(u"murmo.mac.hotkey"_s), u"rightOption"_s);
    EXPECT_EQ(preferences.hotkey(), Hotkey::rightOption);
}

TEST_F(PreferencesTest, ReadAsTrueBooleansOnlyHonourAStoredBoolean)
{
    store.setValue(u"murmo.mac.nudges"_s, u"no"_s);
    store.setValue(u"murmo.mac.icloudSync"_s, 0.0);
    EXPECT_TRUE(preferences.nudges());
    EXPECT_TRUE(preferences.icloudSync());

    preferences.setNudges(false);
    preferences.setIcloudSync(false);
    EXPECT_FALSE(preferences.nudges());
    EXPECT_FALSE(preferences.icloudSync());
    EXPECT_EQ(store.boolean(u"murmo.mac.nudges"_s), false);
}

TEST_F(PreferencesTest, PlainBooleanAndNumbersNeedTheirOwnType)
{
    store.setValue(u"murmo.mac.onboarded"_s, u"true"_s);
    store.setValue(u"murmo.mac.nudgeLast"_s, u"12"_s);
    EXPECT_FALSE(preferences.onboarded());
    EXPECT_EQ(preferences.nudgeLast(), 0.0);

    preferences.setOnboarded(true);
    preferences.setNudgeLast(1767225600.25);
    preferences.setNudgeSuppress(1767312000.5);
    EXPECT_TRUE(preferences.onboarded());
    EXPECT_EQ(preferences.nudgeLast(), 1767225600.25);
    EXPECT_EQ(preferences.nudgeSuppress(), 1767312000.5);
}

TEST_F(PreferencesTest, AutomaticLanguageStoresTheEmptyText)
{
    preferences.setSpeakLang(u"ru"_s);
    preferences.setSpeakLang(QString());
    EXPECT_EQ(store.text(u"murmo.mac.speakLang"_s), QString()) << "kept, not removed";
    EXPECT_EQ(preferences.speakLang(), QString());
}

TEST_F(PreferencesTest, BoundPropertiesAnnounceRealChangesOnly)
{
    QSignalSpy lang(&preferences, &Preferences::speakLangChanged);
    QSignalSpy nudges(&preferences, &Preferences::nudgesChanged);
    QSignalSpy sync(&preferences, &Preferences::icloudSyncChanged);

    preferences.setSpeakLang(u"en"_s);
    preferences.setSpeakLang(u"en"_s);
    preferences.setNudges(true); // already true by default
    preferences.setNudges(false);
    preferences.setIcloudSync(false);
    EXPECT_EQ(lang.count(), 1);
    EXPECT_EQ(nudges.count(), 1);
    EXPECT_EQ(sync.count(), 1);
    EXPECT_EQ(store.boolean(u"murmo.mac.nudges"_s), false);
}

} // namespace
