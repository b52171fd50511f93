#pragma once

#include "core/StatusPill.h"
#include "platform/Clock.h"
#include "platform/Scheduler.h"
#include "platform/WorkspaceEvents.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QVariantAnimation>

#include <chrono>
#include <functional>
#include <memory>

class DictationController;
class PanelWindowing;
class PillModel;
class QMenu;
class QQuickWindow;
class ScreenLayout;
class ViewHost;
class WindowList;

// The status pill's floating panel: a never-focused window on every desktop that follows the
// mouse from screen to screen, sits just above the dock (or the bottom edge beneath a
// full-screen window), and hosts the pill's view. Needs a QApplication for its context menu.
class PillPanel final : public QObject, public StatusPill
{
    Q_OBJECT

public:
    struct Services
    {
        ViewHost& views;
        const Clock& clock;
        Scheduler& scheduler;
        ScreenLayout& screens;
        WindowList& windows;
        WorkspaceEvents& workspace;
        PanelWindowing& windowing;
    };

    static constexpr std::chrono::seconds pollInterval{1};
    static constexpr std::chrono::milliseconds moveDuration{200};

    // `level` reads the microphone's current level, 0 to 1.
    PillPanel(DictationController& controller, std::function<qreal()> level,
              const Services& services);
    ~PillPanel() override;

    void reposition(bool animated) override;
    void orderFront() override;
    void orderOut() override;

    QQuickWindow& window() const { return *m_window; }
    PillModel& model() const { return *m_model; }

private:
    void moveTo(QPoint target, bool animated);
    QPoint destination() const;
    void updateRegions();
    void showMenu();

    Services m_services;
    std::unique_ptr<PillModel> m_model;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QMenu> m_menu;
    QVariantAnimation m_move;
    WorkspaceObserver m_observer;
    TimerHandle m_poll;
    QRect m_inputRegion;
    QList<QRect> m_blurRegion;
};
