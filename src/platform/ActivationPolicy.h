#pragma once

// Whether the application presents itself as a regular windowed application (taskbar entry)
// or as a background accessory that lives in the tray only.
class ActivationPolicy
{
public:
    enum class Mode
    {
        regular,
        accessory
    };

    virtual ~ActivationPolicy() = default;
    virtual void setMode(Mode mode) = 0;
};
