#pragma once

// The floating status pill as the controller orders it in and out.
class StatusPill
{
public:
    virtual ~StatusPill() = default;
    // Moves the pill to its place on the screen under the mouse.
    virtual void reposition(bool animated) = 0;
    // Shows the pill above everything, without taking the focus.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
};
