#include "ui/InviteScreen.h"

#include "api/OnboardingRequests.h"
#include "platform/Scheduler.h"
#include "text/Trimming.h"

using namespace Qt::StringLiterals;

InviteScreen::InviteScreen(OnboardingRequests& backend, Scheduler& scheduler, QObject* parent)
    : QObject(parent)
    , m_backend(backend)
    , m_scheduler(scheduler)
{}

InviteScreen::~InviteScreen() = default;

std::optional<QString> InviteScreen::checkedAddress(const QString& email)
{
    const QString address = trimmedOfSpacesAndTabs(email);
    // The backend has the last word; this only keeps obvious slips from being sent.
    if (!address.contains(u'@') || !address.contains(u'.') || address.endsWith(u'@') ||
        address.size() <= 4)
        return std::nullopt;
    return address.toLower();
}

void InviteScreen::setEmail(const QString& email)
{
    if (email == m_email)
        return;
    m_email = email;
    Q_EMIT emailChanged();
    // A reply in flight is not hidden by typing.
    if (m_phase != Phase::sending)
        setPhase(Phase::idle);
}

QString InviteScreen::message() const
{
    switch (m_phase) {
    case Phase::idle:
    case Phase::sending:
        return {};
    case Phase::sent:
        return u"Invite on its way to "_s + m_sentTo + u" — add another?"_s;
    case Phase::invalid:
        return u"That doesn't look like an email address."_s;
    case Phase::rateLimited:
        return u"That's a lot of invites for today — try again tomorrow."_s;
    case Phase::failed:
        break;
    }
    return u"Couldn't send just now — check your connection and try again."_s;
}

QColor InviteScreen::messageColor() const
{
    return m_phase == Phase::sent ? QColor(29, 29, 31) : QColor(229, 53, 43);
}

void InviteScreen::send()
{
    const auto address = checkedAddress(m_email);
    if (!address || m_phase == Phase::sending)
        return;
    setPlane(true, false);
    m_launch = m_scheduler.runAfter(std::chrono::milliseconds(0), [this] { setPlane(true, true); });
    m_landing = m_scheduler.runAfter(planeFlight, [this] { setPlane(false, false); });
    setPhase(Phase::sending);
    deliver(*address);
}

QCoro::Task<> InviteScreen::deliver(QString address)
{
    std::weak_ptr<InviteScreen*> self = m_self;
    const InviteResult result = co_await m_backend.sendInvite(address);
    if (const auto screen = self.lock())
        (*screen)->apply(result, address);
}

void InviteScreen::apply(InviteResult result, const QString& address)
{
    switch (result) {
    case InviteResult::sent:
        m_sentTo = address;
        setPhase(Phase::sent);
        m_email.clear(); // ready for another address
        Q_EMIT emailChanged();
        return;
    case InviteResult::invalid:
        setPhase(Phase::invalid);
        return;
    case InviteResult::rateLimited:
        setPhase(Phase::rateLimited);
        return;
    case InviteResult::failed:
        setPhase(Phase::failed);
        return;
    }
}

void InviteScreen::setPhase(Phase phase)
{
    if (phase == m_phase && phase != Phase::sent)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged();
}

void InviteScreen::setPlane(bool visible, bool launch)
{
    m_planeVisible = visible;
    m_planeLaunch = launch;
    Q_EMIT planeChanged();
}
