#pragma once

#include "app/MenuContent.h"

#include <QHash>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

class QAction;

// Murmo's icon in the tray (a StatusNotifierItem where the desktop watches for them, else an
// XEmbed icon) with the menu of MenuContent, redrawn whenever the content changes. A click opens
// the menu; a middle click opens the history.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    TrayIcon(MenuContent& content, std::function<void()> showHistory, QObject* parent = nullptr);
    ~TrayIcon() override;

    void show();
    // A passing note from the tray, for what the user must know but need not answer.
    void showMessage(const QString& title, const QString& message);
    QMenu& menu() { return m_menu; }

private:
    void build(QMenu& menu, const QList<MenuContent::Item>& items);
    void update(const QList<MenuContent::Item>& items);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    MenuContent& m_content;
    std::function<void()> m_showHistory;
    QMenu m_menu;
    QSystemTrayIcon m_icon;
    QHash<QString, QAction*> m_actions;
};
