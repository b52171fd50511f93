#include "platform/linux/X11WorkspaceEvents.h"

#include "platform/linux/X11Atoms.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>

X11WorkspaceEvents::X11WorkspaceEvents()
    : m_connection(XcbConnection::open())
{
    watchRoot();
    const auto screensChanged = [this] { m_observers.notify(Change::screens); };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, screensChanged](QScreen* screen) {
        watchScreen(screen);
        screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, screensChanged);
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
}

X11WorkspaceEvents::~X11WorkspaceEvents() = default;

WorkspaceObserver X11WorkspaceEvents::addObserver(Handler handler)
{
    return m_observers.add(std::move(handler));
}

void X11WorkspaceEvents::removeObserver(WorkspaceObserver observer)
{
    m_observers.remove(observer);
}

void X11WorkspaceEvents::watchRoot()
{
    if (!m_connection)
        return;
    xcb_connection_t* c = m_connection->get();
    const auto atoms = internAtoms<2>(c, {"_NET_ACTIVE_WINDOW", "_NET_CURRENT_DESKTOP"});
    m_activeWindow = atoms[0];
    m_currentDesktop = atoms[1];
    // Event masks are per client: this selection leaves Qt's own on the root window alone.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, m_connection->root(), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    m_notifier =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11WorkspaceEvents::readEvents);
}

void X11WorkspaceEvents::watchScreen(QScreen* screen)
{
    const auto screensChanged = [this] { m_observers.notify(Change::screens); };
    connect(screen, &QScreen::geometryChanged, this, screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, screensChanged);
}

void X11WorkspaceEvents::readEvents()
{
    while (const auto event = xcbOwned(xcb_poll_for_event(m_connection->get()))) {
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            continue;
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        if (notify->atom == m_activeWindow)
            m_observers.notify(Change::activeWindow);
        else if (notify->atom == m_currentDesktop)
            m_observers.notify(Change::currentDesktop);
    }
}
