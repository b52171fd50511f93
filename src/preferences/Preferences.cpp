#include "preferences/Preferences.h"

#include "platform/PreferencesStore.h"

using namespace Qt::StringLiterals;

namespace {
const QString hotkeyKey = u"murmo.mac.hotkey"_s;
const QString onboardedKey = u"murmo.mac.onboarded"_s;
const QString deviceKey = u"murmo.mac.device"_s;
const QString tokenKey = u"murmo.mac.token"_s;
const QString speakLangKey = u"murmo.mac.speakLang"_s;
const QString speakLangsKey = u"murmo.mac.speakLangs"_s;
const QString autoDetectKey = u"murmo.mac.autoDetect"_s;
const QString styleKey = u"murmo.mac.style"_s;
const QString icloudSyncKey = u"murmo.mac.icloudSync"_s;
const QString nudgesKey = u"murmo.mac.nudges"_s;
const QString nudgeLastKey = u"murmo.mac.nudgeLast"_s;
const QString nudgeSuppressKey = u"murmo.mac.nudgeSuppress"_s;
const QString typingContextsKey = u"murmo.mac.typingContexts"_s;
const QString sourceKey = u"murmo.mac.source"_s;
const QString roleKey = u"murmo.mac.role"_s;
const QString readKeyboardsKey = u"murmo.linux.readKeyboards"_s;
const QString remoteDesktopTokenKey = u"murmo.linux.remoteDesktopToken"_s;
const QString sessionLimitationKey = u"murmo.linux.sessionLimitationShown"_s;
} // namespace

Preferences::Preferences(PreferencesStore& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
{}

QString Preferences::text(const QString& key) const
{
    return m_store.text(key).value_or(QString());
}

bool Preferences::boolOrTrue(const QString& key) const
{
    return m_store.boolean(key).value_or(true);
}

double Preferences::number(const QString& key) const
{
    return m_store.number(key).value_or(0.0);
}

Hotkey Preferences::hotkey() const
{
    return Hotkeys::fromRawValue(text(hotkeyKey)).value_or(Hotkeys::fallback);
}

void Preferences::setHotkey(Hotkey hotkey)
{
    m_store.setValue(hotkeyKey, Hotkeys::rawValue(hotkey));
}

bool Preferences::onboarded() const
{
    return m_store.boolean(onboardedKey).value_or(false);
}

void Preferences::setOnboarded(bool onboarded)
{
    m_store.setValue(onboardedKey, onboarded);
}

QString Preferences::device() const
{
    return text(deviceKey);
}

void Preferences::setDevice(const QString& device)
{
    m_store.setValue(deviceKey, device);
}

QString Preferences::token() const
{
    return text(tokenKey);
}

void Preferences::setToken(const QString& token)
{
    m_store.setValue(tokenKey, token);
}

QString Preferences::speakLang() const
{
    return text(speakLangKey);
}

void Preferences::setSpeakLang(const QString& code)
{
    const bool changed = code != speakLang();
    m_store.setValue(speakLangKey, code);
    if (changed)
        Q_EMIT speakLangChanged();
}

void Preferences::setSpeakLangs(const QStringList& codes)
{
    m_store.setValue(speakLangsKey, codes);
}

void Preferences::setAutoDetect(bool autoDetect)
{
    m_store.setValue(autoDetectKey, autoDetect);
}

QString Preferences::style() const
{
    return text(styleKey);
}

bool Preferences::icloudSync() const
{
    return boolOrTrue(icloudSyncKey);
}

void Preferences::setIcloudSync(bool on)
{
    const bool changed = on != icloudSync();
    m_store.setValue(icloudSyncKey, on);
    if (changed)
        Q_EMIT icloudSyncChanged();
}

bool Preferences::nudges() const
{
    return boolOrTrue(nudgesKey);
}

void Preferences::setNudges(bool on)
{
    const bool changed = on != nudges();
    m_store.setValue(nudgesKey, on);
    if (changed)
        Q_EMIT nudgesChanged();
}

double Preferences::nudgeLast() const
{
    return number(nudgeLastKey);
}

void Preferences::setNudgeLast(double secondsSince1970)
{
    m_store.setValue(nudgeLastKey, secondsSince1970);
}

double Preferences::nudgeSuppress() const
{
    return number(nudgeSuppressKey);
}

void Preferences::setNudgeSuppress(double secondsSince1970)
{
    m_store.setValue(nudgeSuppressKey, secondsSince1970);
}

bool Preferences::readKeyboards() const
{
    return m_store.boolean(readKeyboardsKey).value_or(false);
}

void Preferences::setReadKeyboards(bool on)
{
    m_store.setValue(readKeyboardsKey, on);
}

QString Preferences::remoteDesktopToken() const
{
    return text(remoteDesktopTokenKey);
}

void Preferences::setRemoteDesktopToken(const QString& token)
{
    m_store.setValue(remoteDesktopTokenKey, token);
}

QString Preferences::sessionLimitationShown() const
{
    return text(sessionLimitationKey);
}

void Preferences::setSessionLimitationShown(const QString& message)
{
    m_store.setValue(sessionLimitationKey, message);
}

void Preferences::setTypingContexts(const QStringList& contexts)
{
    m_store.setValue(typingContextsKey, contexts);
}

void Preferences::setSource(const QString& source)
{
    m_store.setValue(sourceKey, source);
}

void Preferences::setRole(const QString& role)
{
    m_store.setValue(roleKey, role);
}
