#pragma once

// The typing nudge's card on the screen. Destroying it takes it off the screen.
class NudgeCard
{
public:
    virtual ~NudgeCard() = default;
    // Places the card near the bottom of the screen and shows it above everything, without
    // taking the focus.
    virtual void present() = 0;
};
