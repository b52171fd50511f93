#include "fakes/ControllerHarness.h"
#include "ui/BottomDock.h"
#include "ui/LanguagePicker.h"
#include "ui/NavRail.h"
#include "ui/SettingsPanel.h"
#include "ui/SymbolProvider.h"
#include "ui/Symbols.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SymbolsTest, EverySymbolTheViewsNameHasAnIcon)
{
    QStringList named = Symbols::names();
    for (const QVariant& section : NavRail::sections())
        named.append(section.toMap().value(u"symbol"_s).toString());
    for (const QString& symbol : named) {
        EXPECT_TRUE(QFile::exists(SymbolProvider::path(symbol))) << symbol.toStdString();
    }
    EXPECT_TRUE(SymbolProvider::path(u"no.such.symbol"_s).isEmpty());
}

TEST(HomeModelsTest, TheLanguagePickerStoresItsCodeAndNamesOthersNatively)
{
    MemoryPreferencesStore store;
    Preferences preferences(store);
    LanguagePicker picker(preferences);
    EXPECT_EQ(picker.labels(), QStringList({u"Auto-detect"_s, u"Русский"_s, u"English"_s}));
    EXPECT_EQ(picker.index(), 0);

    int changes = 0;
    QObject::connect(&picker, &LanguagePicker::changed, [&] { ++changes; });
    picker.choose(1);
    EXPECT_EQ(preferences.speakLang(), u"ru"_s);
    EXPECT_EQ(picker.currentLabel(), u"Русский"_s);
    picker.choose(0);
    EXPECT_EQ(preferences.speakLang(), u""_s);
    EXPECT_EQ(changes, 2);

    // The onboarding may store any one language.
    preferences.setSpeakLang(u"de"_s);
    EXPECT_EQ(picker.index(), -1);
    EXPECT_EQ(picker.currentLabel(), u"Deutsch"_s);
}

TEST(HomeModelsTest, SettingsAndDockActOnTheController)
{
    ControllerHarness dictation;
    SettingsPanel settings(*dictation.controller, dictation.preferences);
    EXPECT_EQ(settings.hotkeyLabels(),
              QStringList({u"Hold right Super"_s, u"Hold right Alt"_s, u"Hold fn (🌐)"_s}));
    settings.setHotkeyIndex(1);
    EXPECT_EQ(dictation.controller->hotkey(), Hotkey::rightOption);
    EXPECT_EQ(dictation.preferences.hotkey(), Hotkey::rightOption);
    EXPECT_EQ(settings.hotkeyIndex(), 1);

    settings.setNudges(false);
    settings.setSync(false);
    EXPECT_FALSE(dictation.preferences.nudges());
    EXPECT_FALSE(dictation.preferences.icloudSync());

    BottomDock dock(*dictation.controller);
    EXPECT_EQ(dock.recordSymbol(), u"mic.fill"_s);
    dock.toggleRecording();
    EXPECT_EQ(dictation.controller->phase().kind(), Phase::Kind::recording);
    EXPECT_EQ(dock.recordSymbol(), u"stop.fill"_s);
}
