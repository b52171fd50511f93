#include "app/MenuContent.h"

#include "app/Autostart.h"
#include "fakes/ControllerHarness.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Item = MenuContent::Item;

namespace {

class MenuContentTest : public testing::Test
{
protected:
    // The visible items, top to bottom, as the user reads them: "---" for a separator, "[x]" or
    // "[ ]" before a toggle or a choice, "(off)" after what cannot be chosen.
    static QStringList shown(const QList<Item>& items)
    {
        QStringList lines;
        for (const Item& item : items) {
            if (!item.visible)
                continue;
            QString line = item.kind == Item::Kind::separator ? u"---"_s : item.text;
            if (item.kind == Item::Kind::toggle || item.kind == Item::Kind::choice)
                line.prepend(item.checked ? u"[x] "_s : u"[ ] "_s);
            if (!item.enabled)
                line.append(u" (off)"_s);
            lines.append(line);
        }
        return lines;
    }
    QStringList submenu(const QString& id) const
    {
        for (const Item& item : menu.items()) {
            if (item.id == id)
                return shown(item.children);
        }
        return {};
    }

    ControllerHarness dictation;
    QTemporaryDir home;
    QString entry = home.filePath(u"autostart/murmo.desktop"_s);
    Autostart autostart{entry, u"/opt/My Apps/murmo"_s};
    MenuContent menu{*dictation.controller, dictation.preferences, autostart};
};

TEST_F(MenuContentTest, ItemsFollowTheControllerState)
{
    EXPECT_EQ(
        shown(menu.items()),
        (QStringList{u"Hold right Super to dictate (off)"_s, u"Open Murmo"_s, u"---"_s,
                     u"Language"_s, u"Copy last transcript (off)"_s, u"[x] Typing tips"_s,
                     u"[ ] Start at login"_s, u"---"_s, u"Hotkey"_s, u"---"_s, u"Quit Murmo"_s}));

    QSignalSpy changes(&menu, &MenuContent::changed);
    dictation.desktop.trusted = false;
    dictation.controller->refreshPermissions();
    const QStringList untrusted = shown(menu.items());
    EXPECT_EQ(untrusted.mid(0, 3), (QStringList{u"Finish setup (permissions)…"_s, u"---"_s,
                                                u"Hold right Super to dictate (off)"_s}));

    dictation.desktop.trusted = true;
    dictation.controller->refreshPermissions();
    dictation.startProcessing();
    dictation.finishProcessing();
    EXPECT_TRUE(shown(menu.items()).contains(u"Copy last transcript"_s));
    EXPECT_EQ(changes.size(), 3);

    menu.activate(u"copyLastTranscript"_s);
    EXPECT_EQ(dictation.pasteboard.current.plainText(), u"Hello there."_s);
    menu.activate(u"finishSetup"_s);
    EXPECT_TRUE(dictation.windows.onboarding && dictation.windows.onboarding->shown);
}

TEST_F(MenuContentTest, PickersShowAndStoreTheChoice)
{
    EXPECT_EQ(submenu(u"language"_s),
              (QStringList{u"[x] Auto"_s, u"[ ] Русский"_s, u"[ ] English"_s}));
    menu.activate(u"language:ru"_s);
    EXPECT_EQ(dictation.preferences.speakLang(), u"ru"_s);
    EXPECT_EQ(submenu(u"language"_s),
              (QStringList{u"[ ] Auto"_s, u"[x] Русский"_s, u"[ ] English"_s}));
    menu.activate(u"language:"_s);
    EXPECT_EQ(dictation.store.text(u"murmo.mac.speakLang"_s), QString()) << "Auto stores empty";
    dictation.preferences.setSpeakLang(u"de"_s); // chosen during onboarding
    EXPECT_EQ(submenu(u"language"_s),
              (QStringList{u"[ ] Auto"_s, u"[ ] Русский"_s, u"[ ] English"_s}));

    EXPECT_EQ(submenu(u"hotkey"_s), (QStringList{u"[x] Hold right Super"_s, u"[ ] Hold right Alt"_s,
                                                 u"[ ] Hold fn (🌐)"_s}));
    menu.activate(u"hotkey:rightOption"_s);
    EXPECT_EQ(dictation.controller->hotkey(), Hotkey::rightOption);
    EXPECT_EQ(dictation.keys.hotkey, Hotkey::rightOption) << "the monitor follows at once";
    EXPECT_EQ(shown(menu.items()).front(), u"Hold right Alt to dictate (off)"_s);
    EXPECT_EQ(submenu(u"hotkey"_s).at(1), u"[x] Hold right Alt"_s);
}

TEST_F(MenuContentTest, TogglesAndQuit)
{
    menu.activate(u"typingTips"_s);
    EXPECT_FALSE(dictation.preferences.nudges());
    EXPECT_TRUE(shown(menu.items()).contains(u"[ ] Typing tips"_s));

    menu.activate(u"startAtLogin"_s);
    EXPECT_TRUE(shown(menu.items()).contains(u"[x] Start at login"_s));
    QFile written(entry);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains(R"(Exec="/opt/My Apps/murmo")"))
        << "a path with a space is quoted";
    written.close();
    menu.activate(u"startAtLogin"_s);
    EXPECT_FALSE(QFile::exists(entry));
    // A desktop's settings may switch the entry off instead of removing it.
    ASSERT_TRUE(autostart.setEnabled(true));
    ASSERT_TRUE(written.open(QIODevice::Append));
    written.write("Hidden=true\n");
    written.close();
    EXPECT_FALSE(autostart.isEnabled());

    QSignalSpy quit(&menu, &MenuContent::quitRequested);
    menu.activate(u"quit"_s);
    EXPECT_EQ(quit.size(), 1);
}

} // namespace

// Reading the keyboards is offered only where it helps (a Wayland session), and turning it on
// says plainly what the group it needs allows every program.
TEST_F(MenuContentTest, KeyboardReadingIsAnOptInWithItsWarning)
{
    EXPECT_FALSE(shown(menu.items()).join(u'|').contains(u"Read keyboards"_s));

    MenuContent wayland{*dictation.controller, dictation.preferences, autostart, true};
    QSignalSpy notices(&wayland, &MenuContent::notice);
    EXPECT_TRUE(shown(wayland.items()).contains(u"[ ] Read keyboards directly"_s));
    wayland.activate(u"readKeyboards"_s);
    EXPECT_TRUE(dictation.preferences.readKeyboards());
    EXPECT_TRUE(shown(wayland.items()).contains(u"[x] Read keyboards directly"_s));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0][1].toString().contains(u"every keystroke, passwords included"_s));

    wayland.activate(u"readKeyboards"_s);
    EXPECT_FALSE(dictation.preferences.readKeyboards());
}
