#pragma once

#include "preferences/Hotkey.h"

#include <QObject>
#include <QStringList>

class PreferencesStore;

// Every persisted setting, with the value that stands while a key is absent. Keys are never
// removed, only replaced. The properties views bind to announce every change made here.
class Preferences : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString speakLang READ speakLang WRITE setSpeakLang NOTIFY speakLangChanged)
    Q_PROPERTY(bool nudges READ nudges WRITE setNudges NOTIFY nudgesChanged)
    Q_PROPERTY(bool icloudSync READ icloudSync WRITE setIcloudSync NOTIFY icloudSyncChanged)

public:
    explicit Preferences(PreferencesStore& store, QObject* parent = nullptr);

    // Absent or unrecognised reads as the right Command key.
    Hotkey hotkey() const;
    void setHotkey(Hotkey hotkey);

    bool onboarded() const;
    void setOnboarded(bool onboarded);

    QString device() const;
    void setDevice(const QString& device);

    // Empty means not registered.
    QString token() const;
    void setToken(const QString& token);

    // Empty means automatic detection; choosing it stores the empty text.
    QString speakLang() const;
    void setSpeakLang(const QString& code);
    void setSpeakLangs(const QStringList& codes);
    void setAutoDetect(bool autoDetect);

    QString style() const;

    // Anything but a stored boolean reads as true.
    bool icloudSync() const;
    void setIcloudSync(bool on);
    bool nudges() const;
    void setNudges(bool on);

    // Seconds since 1970; absent reads as 0.
    double nudgeLast() const;
    void setNudgeLast(double secondsSince1970);
    double nudgeSuppress() const;
    void setNudgeSuppress(double secondsSince1970);

    // Whether Murmo may read the keyboards under /dev/input in a Wayland session: the user's
    // choice alone, never assumed. Absent reads as false.
    bool readKeyboards() const;
    void setReadKeyboards(bool on);
    // What lets the desktop's remote-control session start again without asking the user.
    QString remoteDesktopToken() const;
    void setRemoteDesktopToken(const QString& token);
    // The last message about what the desktop session lacks, so that it is said only once.
    QString sessionLimitationShown() const;
    void setSessionLimitationShown(const QString& message);

    void setTypingContexts(const QStringList& contexts);
    void setSource(const QString& source);
    void setRole(const QString& role);

Q_SIGNALS:
    void speakLangChanged();
    void nudgesChanged();
    void icloudSyncChanged();

private:
    QString text(const QString& key) const;
    bool boolOrTrue(const QString& key) const;
    double number(const QString& key) const;

    PreferencesStore& m_store;
};
