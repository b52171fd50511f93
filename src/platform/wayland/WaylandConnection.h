#pragma once

#include <QSocketNotifier>
#include <QString>

#include <chrono>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwp_virtual_keyboard_manager_v1;

// Murmo's own client connection to the Wayland compositor, beside Qt's windows on XWayland:
// the globals the clipboard and the paste keystroke need, with events dispatched from the Qt
// event loop. Main thread only.
class WaylandConnection
{
public:
    // Limit on each wait for the compositor's answer; it happens only while connecting.
    static constexpr std::chrono::milliseconds answerLimit{2000};

    // The compositor of WAYLAND_DISPLAY with its globals known; none, with the reason in
    // `problem`, when it cannot be reached or does not answer in time.
    static std::unique_ptr<WaylandConnection> connect(QString* problem = nullptr);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return m_display; }
    // Null when the compositor does not advertise them.
    wl_seat* seat() const { return m_seat; }
    zwlr_data_control_manager_v1* dataControl() const { return m_dataControl; }
    zwp_virtual_keyboard_manager_v1* virtualKeyboard() const { return m_virtualKeyboard; }

    // Waits, within answerLimit, until the compositor has handled every request sent so far and
    // its events are dispatched. False when it did not answer or the connection broke.
    bool roundtrip();
    // Sends what was requested; events keep arriving through the event loop.
    void flush();
    bool broken() const;

private:
    explicit WaylandConnection(wl_display* display);
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
    static void globalRemove(void* data, wl_registry* registry, uint32_t name);
    void dispatch();

    wl_display* m_display;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwlr_data_control_manager_v1* m_dataControl = nullptr;
    zwp_virtual_keyboard_manager_v1* m_virtualKeyboard = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
