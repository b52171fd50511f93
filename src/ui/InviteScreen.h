#pragma once

#include "api/InviteResult.h"
#include "platform/TimerHandle.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <chrono>
#include <memory>

class OnboardingRequests;
class Scheduler;

// The last onboarding screen: an address, a Send button, and one line that says how the last
// invitation went. Several may be sent in a row; only one is in flight at a time.
class InviteScreen : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the onboarding view")

    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(bool sendEnabled READ sendEnabled NOTIFY emailChanged)
    Q_PROPERTY(qreal sendOpacity READ sendOpacity NOTIFY emailChanged)
    Q_PROPERTY(bool sending READ sending NOTIFY phaseChanged)
    Q_PROPERTY(QString message READ message NOTIFY phaseChanged)
    Q_PROPERTY(bool messageSymbolVisible READ messageSymbolVisible NOTIFY phaseChanged)
    Q_PROPERTY(QColor messageColor READ messageColor NOTIFY phaseChanged)
    Q_PROPERTY(bool planeVisible READ planeVisible NOTIFY planeChanged)
    Q_PROPERTY(bool planeLaunch READ planeLaunch NOTIFY planeChanged)
    Q_PROPERTY(QString heading MEMBER m_heading CONSTANT)
    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    Q_PROPERTY(QString line MEMBER m_line CONSTANT)
    Q_PROPERTY(QString placeholder MEMBER m_placeholder CONSTANT)
    Q_PROPERTY(QString sendText MEMBER m_sendText CONSTANT)

public:
    enum class Phase
    {
        idle,
        sending,
        sent,
        invalid,
        rateLimited,
        failed
    };

    // How long the paper plane stays after a send.
    static constexpr std::chrono::milliseconds planeFlight{850};

    InviteScreen(OnboardingRequests& backend, Scheduler& scheduler, QObject* parent = nullptr);
    ~InviteScreen() override;

    // The address as it would be sent, when it passes the local check.
    static std::optional<QString> checkedAddress(const QString& email);

    QString email() const { return m_email; }
    void setEmail(const QString& email);
    Phase phase() const { return m_phase; }
    bool sendEnabled() const { return checkedAddress(m_email).has_value(); }
    qreal sendOpacity() const { return sendEnabled() ? 1.0 : 0.35; }
    bool sending() const { return m_phase == Phase::sending; }
    QString message() const;
    bool messageSymbolVisible() const { return m_phase == Phase::sent; }
    QColor messageColor() const;
    bool planeVisible() const { return m_planeVisible; }
    bool planeLaunch() const { return m_planeLaunch; }

    Q_INVOKABLE void send();

Q_SIGNALS:
    void emailChanged();
    void phaseChanged();
    void planeChanged();

private:
    QCoro::Task<> deliver(QString address);
    void apply(InviteResult result, const QString& address);
    void setPhase(Phase phase);
    void setPlane(bool visible, bool launch);

    OnboardingRequests& m_backend;
    Scheduler& m_scheduler;
    // A reply that comes after the screen is gone must find nothing.
    std::shared_ptr<InviteScreen*> m_self = std::make_shared<InviteScreen*>(this);
    QString m_email;
    Phase m_phase = Phase::idle;
    QString m_sentTo;
    bool m_planeVisible = false;
    bool m_planeLaunch = false;
    TimerHandle m_launch;
    TimerHandle m_landing;

    QString m_heading = QStringLiteral("PUBLIC SERVICE ANNOUNCEMENT");
    QString m_title = QStringLiteral("Know someone who still\ntypes paragraphs?");
    QString m_line =
        QStringLiteral("Enter their email and we'll send them an invite to try Murmo.");
    QString m_placeholder = QStringLiteral("friend@example.com");
    QString m_sendText = QStringLiteral("Send");
};
