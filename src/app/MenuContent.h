#pragma once

#include <QList>
#include <QObject>
#include <QString>

class Autostart;
class DictationController;
class Preferences;

// The tray menu as a list of items, top to bottom, following the controller, the preferences
// and the login item live; and what choosing an item does. The tray draws these items and
// redraws them on `changed`.
class MenuContent : public QObject
{
    Q_OBJECT

public:
    struct Item
    {
        enum class Kind
        {
            button,
            text, // inert
            toggle,
            submenu,
            choice, // one of a submenu's options, checked when chosen
            separator,
        };

        Kind kind;
        QString id; // stable across changes; what `activate` takes
        QString text;
        bool visible = true;
        bool enabled = true;
        bool checked = false;
        QList<Item> children;

        bool operator==(const Item&) const = default;
    };

    // `offersKeyboardReading`: the session is one where reading the keyboards directly helps
    // (a Wayland one).
    MenuContent(DictationController& controller, Preferences& preferences, Autostart& autostart,
                bool offersKeyboardReading = false, QObject* parent = nullptr);

    QList<Item> items() const;
    // What the user chose; a toggle flips.
    void activate(const QString& id);

Q_SIGNALS:
    void changed();
    // "Quit Murmo" was chosen.
    void quitRequested();
    // What the user must read after a choice, as a passing notification.
    void notice(const QString& title, const QString& text);

private:
    QList<Item> languageChoices() const;
    QList<Item> hotkeyChoices() const;
    void toggleKeyboardReading();

    DictationController& m_controller;
    Preferences& m_preferences;
    Autostart& m_autostart;
    bool m_offersKeyboardReading;
};
