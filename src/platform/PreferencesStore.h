#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// A typed key-value store that survives restarts. Each value keeps the type it was written with.
class PreferencesStore
{
public:
    using Value = std::variant<QString, bool, double, QStringList>;

    virtual ~PreferencesStore() = default;

    // The stored value with its own type; none when the key is absent or holds a value of a
    // type the store cannot represent.
    virtual std::optional<Value> value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const Value& value) = 0;

    std::optional<QString> text(const QString& key) const { return typed<QString>(key); }
    std::optional<bool> boolean(const QString& key) const { return typed<bool>(key); }
    std::optional<double> number(const QString& key) const { return typed<double>(key); }
    std::optional<QStringList> textList(const QString& key) const
    {
        return typed<QStringList>(key);
    }

private:
    template<class T>
    std::optional<T> typed(const QString& key) const
    {
        const auto stored = value(key);
        if (stored && std::holds_alternative<T>(*stored))
            return std::get<T>(*stored);
        return std::nullopt;
    }
};
