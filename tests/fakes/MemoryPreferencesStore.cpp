#include "fakes/MemoryPreferencesStore.h"

std::optional<PreferencesStore::Value> MemoryPreferencesStore::value(const QString& key) const
{
    const auto found = m_values.constFind(key);
    if (found == m_values.constEnd())
        return std::nullopt;
    return *found;
}

void MemoryPreferencesStore::setValue(const QString& key, const Value& value)
{
    m_values.insert(key, value);
}
