#pragma once

#include "platform/PreferencesStore.h"

#include <QHash>

// Preferences kept in memory only.
class MemoryPreferencesStore final : public PreferencesStore
{
public:
    std::optional<Value> value(const QString& key) const override;
    void setValue(const QString& key, const Value& value) override;

private:
    QHash<QString, Value> m_values;
};
