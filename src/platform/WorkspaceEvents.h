#pragma once

#include <cstdint>
#include <functional>

// Identifies one observer; meaningful only to the object that returned it.
enum class WorkspaceObserver : std::uint64_t
{
};

// Tells when the desktop around the application changes.
class WorkspaceEvents
{
public:
    enum class Change
    {
        activeWindow,   // another window, usually of another application, became active
        currentDesktop, // the user switched virtual desktops
        screens         // monitors were added, removed or rearranged, or a dock changed
    };
    using Handler = std::function<void(Change)>;

    virtual ~WorkspaceEvents() = default;
    // Handlers run on the main thread, in the order they were added.
    virtual WorkspaceObserver addObserver(Handler handler) = 0;
    virtual void removeObserver(WorkspaceObserver observer) = 0;
};
