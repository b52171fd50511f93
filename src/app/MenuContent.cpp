#include "app/MenuContent.h"

#include "app/Autostart.h"
#include "core/DictationController.h"
#include "platform/wayland/SessionCapabilities.h"
#include "preferences/Preferences.h"

using namespace Qt::StringLiterals;

namespace {

using Kind = MenuContent::Item::Kind;

const QString finishSetupId = u"finishSetup"_s;
const QString openId = u"open"_s;
const QString copyId = u"copyLastTranscript"_s;
const QString typingTipsId = u"typingTips"_s;
const QString startAtLoginId = u"startAtLogin"_s;
const QString readKeyboardsId = u"readKeyboards"_s;
const QString quitId = u"quit"_s;
const QString languagePrefix = u"language:"_s;
const QString hotkeyPrefix = u"hotkey:"_s;

struct Language
{
    QString label;
    QString code;
};

const QList<Language> languages{{u"Auto"_s, {}}, {u"Русский"_s, u"ru"_s}, {u"English"_s, u"en"_s}};

MenuContent::Item item(Kind kind, const QString& id, const QString& text, bool visible = true,
                       bool enabled = true, bool checked = false,
                       const QList<MenuContent::Item>& children = {})
{
    return {kind, id, text, visible, enabled, checked, children};
}

MenuContent::Item separator(const QString& id, bool visible = true)
{
    return item(Kind::separator, id, {}, visible);
}

} // namespace

MenuContent::MenuContent(DictationController& controller, Preferences& preferences,
                         Autostart& autostart, bool offersKeyboardReading, QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_preferences(preferences)
    , m_autostart(autostart)
    , m_offersKeyboardReading(offersKeyboardReading)
{
    for (const auto signal :
         {&DictationController::permissionsGrantedChanged, &DictationController::hotkeyChanged,
          &DictationController::lastTextChanged})
        connect(&m_controller, signal, this, &MenuContent::changed);
    connect(&m_preferences, &Preferences::speakLangChanged, this, &MenuContent::changed);
    connect(&m_preferences, &Preferences::nudgesChanged, this, &MenuContent::changed);
}

QList<MenuContent::Item> MenuContent::items() const
{
    const bool setupPending = !m_controller.permissionsGranted();
    return {
        item(Kind::button, finishSetupId, u"Finish setup (permissions)…"_s, setupPending),
        separator(u"afterSetup"_s, setupPending),
        item(Kind::text, u"hint"_s, Hotkeys::forLinuxKeyboard(Hotkeys::hint(m_controller.hotkey())),
             true, false),
        item(Kind::button, openId, u"Open Murmo"_s),
        separator(u"afterOpen"_s),
        item(Kind::submenu, u"language"_s, u"Language"_s, true, true, false, languageChoices()),
        item(Kind::button, copyId, u"Copy last transcript"_s, true,
             !m_controller.lastText().isEmpty()),
        item(Kind::toggle, typingTipsId, u"Typing tips"_s, true, true, m_preferences.nudges()),
        item(Kind::toggle, startAtLoginId, u"Start at login"_s, true, true,
             m_autostart.isEnabled()),
        item(Kind::toggle, readKeyboardsId, u"Read keyboards directly"_s, m_offersKeyboardReading,
             true, m_preferences.readKeyboards()),
        separator(u"afterToggles"_s),
        item(Kind::submenu, u"hotkey"_s, u"Hotkey"_s, true, true, false, hotkeyChoices()),
        separator(u"beforeQuit"_s),
        item(Kind::button, quitId, u"Quit Murmo"_s),
    };
}

QList<MenuContent::Item> MenuContent::languageChoices() const
{
    // A code chosen elsewhere (onboarding offers more languages) checks none of these.
    const QString current = m_preferences.speakLang();
    QList<Item> choices;
    for (const Language& language : languages)
        choices.append(item(Kind::choice, languagePrefix + language.code, language.label, true,
                            true, language.code == current));
    return choices;
}

QList<MenuContent::Item> MenuContent::hotkeyChoices() const
{
    QList<Item> choices;
    for (const Hotkey hotkey : Hotkeys::all)
        choices.append(item(Kind::choice, hotkeyPrefix + Hotkeys::rawValue(hotkey),
                            Hotkeys::forLinuxKeyboard(Hotkeys::pickerLabel(hotkey)), true, true,
                            hotkey == m_controller.hotkey()));
    return choices;
}

void MenuContent::activate(const QString& id)
{
    if (id == finishSetupId) {
        m_controller.showOnboarding();
    } else if (id == openId) {
        m_controller.showHome();
    } else if (id == copyId) {
        m_controller.copyLastTranscript();
    } else if (id == typingTipsId) {
        m_preferences.setNudges(!m_preferences.nudges());
    } else if (id == startAtLoginId) {
        m_autostart.setEnabled(!m_autostart.isEnabled());
        Q_EMIT changed();
    } else if (id == readKeyboardsId) {
        toggleKeyboardReading();
    } else if (id == quitId) {
        Q_EMIT quitRequested();
    } else if (id.startsWith(languagePrefix)) {
        m_preferences.setSpeakLang(id.mid(languagePrefix.size()));
    } else if (id.startsWith(hotkeyPrefix)) {
        if (const auto hotkey = Hotkeys::fromRawValue(id.mid(hotkeyPrefix.size())))
            m_controller.setHotkey(*hotkey);
    }
}

// The session's mechanisms are chosen at start-up, so the choice counts from the next one.
void MenuContent::toggleKeyboardReading()
{
    const bool on = !m_preferences.readKeyboards();
    m_preferences.setReadKeyboards(on);
    Q_EMIT changed();
    if (on)
        Q_EMIT notice(u"Keyboard reading on"_s, SessionCapabilities::keyboardReadingWarning() +
                                                    u" It takes effect when Murmo starts again."_s);
    else
        Q_EMIT notice(u"Keyboard reading off"_s,
                      u"Murmo stops reading the keyboards when it starts again."_s);
}
