#pragma once

#include "nudge/NudgeCard.h"
#include "platform/Scheduler.h"

#include <QString>

#include <functional>
#include <memory>

class NudgeModel;
class NudgeState;
class PanelWindowing;
class QQuickWindow;
class ScreenLayout;
class ViewHost;

// The typing nudge's floating panel: a never-focused window on every desktop, centred above
// the primary screen's dock, hosting the card's view. Closed when destroyed.
class NudgePanel final : public NudgeCard
{
public:
    struct Services
    {
        ViewHost& views;
        Scheduler& scheduler;
        ScreenLayout& screens;
        PanelWindowing& windowing;
    };

    NudgePanel(NudgeState& state, const QString& keyLabel, std::function<void()> onDismiss,
               const Services& services);
    ~NudgePanel() override;

    void present() override;

    QQuickWindow& window() const { return *m_window; }
    NudgeModel& model() const { return *m_model; }

private:
    Services m_services;
    std::unique_ptr<NudgeModel> m_model;
    std::unique_ptr<QQuickWindow> m_window;
};
