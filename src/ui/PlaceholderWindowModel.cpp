#include "ui/PlaceholderWindowModel.h"

PlaceholderWindowModel::PlaceholderWindowModel(const WindowLayout& layout, QString message,
                                               QString actionText, std::function<void()> action,
                                               QObject* parent)
    : QObject(parent)
    , m_layout(layout)
    , m_message(std::move(message))
    , m_actionText(std::move(actionText))
    , m_action(std::move(action))
{}

QSize PlaceholderWindowModel::minimumSize() const
{
    return m_layout.minimum.isEmpty() ? m_layout.content : m_layout.minimum;
}

void PlaceholderWindowModel::act()
{
    if (m_action)
        m_action();
}
