#pragma once

#include "platform/SyntheticKeyboard.h"

#include <QList>

class RemoteDesktopSession;

// Keystrokes through the desktop's RemoteDesktop portal, by kernel key code, once the user has
// allowed the session. A keystroke asked for while the session is not running fails; the session
// is started again then, for the next one (unless the user refused it). Main thread only.
class PortalKeyboard final : public SyntheticKeyboard
{
public:
    explicit PortalKeyboard(RemoteDesktopSession& session);

    std::unique_ptr<Keystroke> makeKeystroke(int keyCode, std::uint64_t modifierFlags) override;

private:
    class PortalKeystroke;

    RemoteDesktopSession& m_session;
};
