#include "app/TrayIcon.h"

#include "ui/SymbolProvider.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace {

using Kind = MenuContent::Item::Kind;

// The "waveform" symbol in the colour of the desktop's text, so that it reads on its panel.
QIcon waveformIcon()
{
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(
            QPixmap::fromImage(SymbolProvider::render(u"waveform"_s, ink, {size, size})));
    return icon;
}

} // namespace

TrayIcon::TrayIcon(MenuContent& content, std::function<void()> showHistory, QObject* parent)
    : QObject(parent)
    , m_content(content)
    , m_showHistory(std::move(showHistory))
{
    const auto items = m_content.items();
    build(m_menu, items);
    update(items);
    connect(&m_content, &MenuContent::changed, this, [this] { update(m_content.items()); });

    m_icon.setIcon(waveformIcon());
    // The tray is all a user sees of Murmo most days, so it also says which version runs.
    m_icon.setToolTip((u"Murmo "_s + QCoreApplication::applicationVersion()).trimmed());
    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::show()
{
    m_icon.show();
}

void TrayIcon::showMessage(const QString& title, const QString& message)
{
    m_icon.showMessage(title, message, QSystemTrayIcon::Warning);
}

void TrayIcon::build(QMenu& menu, const QList<MenuContent::Item>& items)
{
    QActionGroup* choices = nullptr;
    for (const MenuContent::Item& item : items) {
        QAction* action = nullptr;
        switch (item.kind) {
        case Kind::separator:
            action = menu.addSeparator();
            break;
        case Kind::submenu: {
            QMenu* submenu = menu.addMenu(item.text);
            build(*submenu, item.children);
            action = submenu->menuAction();
            break;
        }
        case Kind::button:
        case Kind::text:
        case Kind::toggle:
        case Kind::choice:
            action = menu.addAction(item.text);
            action->setCheckable(item.kind == Kind::toggle || item.kind == Kind::choice);
            if (item.kind == Kind::choice) {
                if (!choices) {
                    choices = new QActionGroup(&menu);
                    // A language chosen elsewhere checks none of the choices.
                    choices->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
                }
                choices->addAction(action);
            }
            if (item.kind != Kind::text) {
                connect(action, &QAction::triggered, this,
                        [this, id = item.id] { m_content.activate(id); });
            }
            break;
        }
        m_actions.insert(item.id, action);
    }
}

void TrayIcon::update(const QList<MenuContent::Item>& items)
{
    for (const MenuContent::Item& item : items) {
        QAction* action = m_actions.value(item.id);
        if (!action)
            continue;
        if (item.kind != Kind::separator)
            action->setText(item.text);
        action->setVisible(item.visible);
        action->setEnabled(item.enabled);
        if (action->isCheckable())
            action->setChecked(item.checked);
        update(item.children);
    }
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::MiddleClick)
        m_showHistory();
    else if (reason == QSystemTrayIcon::Trigger)
        m_menu.popup(QCursor::pos());
}
