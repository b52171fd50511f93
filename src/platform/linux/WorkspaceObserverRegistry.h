#pragma once

#include "platform/WorkspaceEvents.h"

#include <map>

// The observers of a WorkspaceEvents implementation and their delivery.
class WorkspaceObserverRegistry
{
public:
    WorkspaceObserver add(WorkspaceEvents::Handler handler);
    void remove(WorkspaceObserver observer);
    // Runs every handler in the order they were added. A handler may add or remove observers:
    // removed ones are not called any more, added ones wait for the next change.
    void notify(WorkspaceEvents::Change change) const;

private:
    std::map<WorkspaceObserver, WorkspaceEvents::Handler> m_handlers;
    std::uint64_t m_last = 0;
};
