#include "platform/wayland/PortalKeyboard.h"

#include "platform/KeyEventMonitors.h"
#include "platform/wayland/RemoteDesktopSession.h"

#include <QPointer>

#include <linux/input-event-codes.h>

using namespace Qt::StringLiterals;

namespace {

// The paste chord is the only keystroke Murmo posts: V, by its position.
constexpr int pasteKeyCode = 9;

} // namespace

class PortalKeyboard::PortalKeystroke final : public Keystroke
{
public:
    PortalKeystroke(RemoteDesktopSession& session, QList<int> modifiers)
        : m_session(&session)
        , m_modifiers(std::move(modifiers))
    {}
    ~PortalKeystroke() override
    {
        if (m_down)
            postKeyUp();
    }

    void postKeyDown() override
    {
        m_down = true;
        for (const int modifier : std::as_const(m_modifiers))
            notify(modifier, true);
        notify(KEY_V, true);
    }
    void postKeyUp() override
    {
        m_down = false;
        notify(KEY_V, false);
        for (auto modifier = m_modifiers.crbegin(); modifier != m_modifiers.crend(); ++modifier)
            notify(*modifier, false);
    }

private:
    void notify(int evdevCode, bool down)
    {
        if (m_session)
            m_session->notifyKeycode(evdevCode, down);
    }

    QPointer<RemoteDesktopSession> m_session;
    QList<int> m_modifiers;
    bool m_down = false;
};

PortalKeyboard::PortalKeyboard(RemoteDesktopSession& session)
    : m_session(session)
{}

std::unique_ptr<SyntheticKeyboard::Keystroke> PortalKeyboard::makeKeystroke(int keyCode,
                                                                            std::uint64_t flags)
{
    // For the next dictation: this one cannot wait for the user's answer.
    m_session.start();
    if (!m_session.isStarted() || keyCode != pasteKeyCode)
        return nullptr;
    QList<int> modifiers;
    if (flags & (ModifierFlags::command | ModifierFlags::control))
        modifiers << KEY_LEFTCTRL;
    if (flags & ModifierFlags::shift)
        modifiers << KEY_LEFTSHIFT;
    if (flags & ModifierFlags::option)
        modifiers << KEY_LEFTALT;
    return std::make_unique<PortalKeystroke>(m_session, modifiers);
}
