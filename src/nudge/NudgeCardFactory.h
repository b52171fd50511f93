#pragma once

#include "nudge/NudgeCard.h"

#include <QString>

#include <functional>
#include <memory>

class NudgeState;

// Makes the typing nudge's cards; the user interface layer provides it.
class NudgeCardFactory
{
public:
    virtual ~NudgeCardFactory() = default;
    // A card that watches `state`, names `keyLabel` as the key to hold, and calls `onDismiss`
    // when the user dismisses it. Hidden until presented.
    virtual std::unique_ptr<NudgeCard> createCard(NudgeState& state, const QString& keyLabel,
                                                  std::function<void()> onDismiss) = 0;
};
