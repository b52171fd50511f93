#pragma once

#include <QMetaType>
#include <QString>

// The visible state of the dictation cycle. Two notices are equal when their texts are.
class Phase
{
    Q_GADGET
    Q_PROPERTY(Kind kind READ kind CONSTANT)
    Q_PROPERTY(QString message READ message CONSTANT)

public:
    enum class Kind
    {
        idle,
        recording,
        processing,
        done,
        notice
    };
    Q_ENUM(Kind)

    Phase() = default;
    static Phase idle() { return Phase(Kind::idle); }
    static Phase recording() { return Phase(Kind::recording); }
    static Phase processing() { return Phase(Kind::processing); }
    static Phase done() { return Phase(Kind::done); }
    static Phase notice(const QString& message);

    Kind kind() const { return m_kind; }
    // The notice text; empty for every other kind.
    QString message() const { return m_message; }

    bool operator==(const Phase&) const = default;

private:
    explicit Phase(Kind kind, QString message = {})
        : m_kind(kind)
        , m_message(std::move(message))
    {}

    Kind m_kind = Kind::idle;
    QString m_message;
};
