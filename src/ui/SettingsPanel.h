#pragma once

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class DictationController;
class Preferences;

// The settings section: the hold key, the typing tips and the cloud sync switches, and quitting.
// (The language picker is its own model, shared with the dock.)
class SettingsPanel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    Q_PROPERTY(QString hotkeyTitle MEMBER m_hotkeyTitle CONSTANT)
    Q_PROPERTY(QStringList hotkeyLabels READ hotkeyLabels CONSTANT)
    Q_PROPERTY(int hotkeyIndex READ hotkeyIndex WRITE setHotkeyIndex NOTIFY hotkeyChanged)
    Q_PROPERTY(QString languageTitle MEMBER m_languageTitle CONSTANT)
    Q_PROPERTY(QString nudgesTitle MEMBER m_nudgesTitle CONSTANT)
    Q_PROPERTY(QString nudgesDetail MEMBER m_nudgesDetail CONSTANT)
    Q_PROPERTY(bool nudges READ nudges WRITE setNudges NOTIFY nudgesChanged)
    Q_PROPERTY(QString syncTitle MEMBER m_syncTitle CONSTANT)
    Q_PROPERTY(QString syncDetail MEMBER m_syncDetail CONSTANT)
    Q_PROPERTY(bool sync READ sync WRITE setSync NOTIFY syncChanged)
    Q_PROPERTY(QString quitText MEMBER m_quitText CONSTANT)

public:
    SettingsPanel(DictationController& controller, Preferences& preferences,
                  QObject* parent = nullptr);

    // Worded for a Linux keyboard.
    static QStringList hotkeyLabels();
    int hotkeyIndex() const;
    void setHotkeyIndex(int index);
    bool nudges() const;
    void setNudges(bool on);
    bool sync() const;
    void setSync(bool on);

    Q_INVOKABLE void quit();

Q_SIGNALS:
    void hotkeyChanged();
    void nudgesChanged();
    void syncChanged();
    // The user chose to end the application.
    void quitRequested();

private:
    DictationController& m_controller;
    Preferences& m_preferences;
    QString m_title = QStringLiteral("Settings");
    QString m_hotkeyTitle = QStringLiteral("Dictation key");
    QString m_languageTitle = QStringLiteral("Language");
    QString m_nudgesTitle = QStringLiteral("Typing tips");
    QString m_nudgesDetail = QStringLiteral("Nudge me to dictate when I type a lot in another app");
    QString m_syncTitle = QStringLiteral("Cloud folder sync");
    QString m_syncDetail = QStringLiteral(
        "Sync history through your cloud folder with your phone and other computers");
    QString m_quitText = QStringLiteral("Quit Murmo");
};
