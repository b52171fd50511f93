#include "ui/SettingsPanel.h"

#include "core/DictationController.h"
#include "preferences/Preferences.h"

#include <algorithm>

SettingsPanel::SettingsPanel(DictationController& controller, Preferences& preferences,
                             QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_preferences(preferences)
{
    connect(&m_controller, &DictationController::hotkeyChanged, this,
            &SettingsPanel::hotkeyChanged);
    connect(&m_preferences, &Preferences::nudgesChanged, this, &SettingsPanel::nudgesChanged);
    connect(&m_preferences, &Preferences::icloudSyncChanged, this, &SettingsPanel::syncChanged);
}

QStringList SettingsPanel::hotkeyLabels()
{
    QStringList labels;
    for (const Hotkey hotkey : Hotkeys::all)
        labels.append(Hotkeys::forLinuxKeyboard(Hotkeys::pickerLabel(hotkey)));
    return labels;
}

int SettingsPanel::hotkeyIndex() const
{
    return int(std::ranges::find(Hotkeys::all, m_controller.hotkey()) - Hotkeys::all.begin());
}

void SettingsPanel::setHotkeyIndex(int index)
{
    if (index >= 0 && index < int(Hotkeys::all.size()))
        m_controller.setHotkey(Hotkeys::all[std::size_t(index)]);
}

bool SettingsPanel::nudges() const
{
    return m_preferences.nudges();
}

void SettingsPanel::setNudges(bool on)
{
    m_preferences.setNudges(on);
}

bool SettingsPanel::sync() const
{
    return m_preferences.icloudSync();
}

void SettingsPanel::setSync(bool on)
{
    m_preferences.setIcloudSync(on);
}

void SettingsPanel::quit()
{
    Q_EMIT quitRequested();
}
