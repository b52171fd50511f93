#include "platform/linux/WorkspaceObserverRegistry.h"

#include <vector>

WorkspaceObserver WorkspaceObserverRegistry::add(WorkspaceEvents::Handler handler)
{
    const auto observer = WorkspaceObserver{++m_last};
    m_handlers.emplace(observer, std::move(handler));
    return observer;
}

void WorkspaceObserverRegistry::remove(WorkspaceObserver observer)
{
    m_handlers.erase(observer);
}

void WorkspaceObserverRegistry::notify(WorkspaceEvents::Change change) const
{
    std::vector<WorkspaceObserver> observers;
    for (const auto& [observer, handler] : m_handlers)
        observers.push_back(observer);
    for (const WorkspaceObserver observer : observers) {
        const auto found = m_handlers.find(observer);
        if (found != m_handlers.end())
            found->second(change);
    }
}
