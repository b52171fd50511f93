#pragma once

#include "nudge/NudgeCardFactory.h"

#include <QString>

// Nudge cards that only count whether they are on the screen, with the last one's dismiss
// button at hand.
class FakeNudgeCards final : public NudgeCardFactory
{
public:
    class Card final : public NudgeCard
    {
    public:
        explicit Card(FakeNudgeCards& cards)
            : m_cards(cards)
        {}
        ~Card() override
        {
            if (m_presented)
                --m_cards.onScreen;
        }
        void present() override
        {
            m_presented = true;
            ++m_cards.onScreen;
        }

    private:
        FakeNudgeCards& m_cards;
        bool m_presented = false;
    };

    std::unique_ptr<NudgeCard> createCard(NudgeState&, const QString& label,
                                          std::function<void()> onDismiss) override
    {
        ++created;
        keyLabel = label;
        clickDismiss = std::move(onDismiss);
        return std::make_unique<Card>(*this);
    }

    int created = 0;
    int onScreen = 0;
    QString keyLabel;
    std::function<void()> clickDismiss;
};
