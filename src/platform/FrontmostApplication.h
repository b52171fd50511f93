#pragma once

#include <QString>

#include <optional>

// An application as the window system names it through one of its windows.
struct ApplicationIdentity
{
    std::optional<qint64> pid;
    // The class part of the window's WM_CLASS; empty when the window gives none.
    QString windowClass;

    // Process ids decide when both are known; otherwise the classes do, and two unnamed
    // applications count as the same one.
    bool isSameApplication(const ApplicationIdentity& other) const
    {
        if (pid && other.pid)
            return *pid == *other.pid;
        return windowClass == other.windowClass;
    }
};

// Which application the user is typing into.
class FrontmostApplication
{
public:
    virtual ~FrontmostApplication() = default;
    // The owner of the active window (or, without a window manager, of the keyboard focus);
    // empty when no window has it or it cannot be read.
    virtual ApplicationIdentity current() const = 0;
    // This process, as its own windows name it.
    virtual ApplicationIdentity own() const = 0;
};
