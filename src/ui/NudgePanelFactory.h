#pragma once

#include "nudge/NudgeCardFactory.h"
#include "ui/NudgePanel.h"

// Makes the typing nudge's cards as floating panels.
class NudgePanelFactory final : public NudgeCardFactory
{
public:
    explicit NudgePanelFactory(const NudgePanel::Services& services)
        : m_services(services)
    {}

    std::unique_ptr<NudgeCard> createCard(NudgeState& state, const QString& keyLabel,
                                          std::function<void()> onDismiss) override
    {
        return std::make_unique<NudgePanel>(state, keyLabel, std::move(onDismiss), m_services);
    }

private:
    NudgePanel::Services m_services;
};
