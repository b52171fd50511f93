#pragma once

#include "platform/KeyEventMonitors.h"
#include "platform/linux/X11KeyTranslator.h"

#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <set>

struct input_event;

// Reads one keyboard's kernel event stream (a /dev/input/event* node, never grabbed) and turns it
// into key events in the program's own codes. Main thread only.
class EvdevKeyboard
{
public:
    using Deliver = std::function<void(KeyEventMonitors::Kind, const KeyEvent&)>;
    // The kernel key codes down right now, asked after the kernel dropped events.
    using KeysDown = std::function<std::set<int>()>;

    // Takes `fd` (non-blocking); `gone` runs once when the device is unplugged or the stream
    // ends, after the keys still held were released.
    EvdevKeyboard(int fd, KeysDown keysDown, Deliver deliver, std::function<void()> gone);
    ~EvdevKeyboard();
    EvdevKeyboard(const EvdevKeyboard&) = delete;
    EvdevKeyboard& operator=(const EvdevKeyboard&) = delete;

    // The keys down now, asked of the device itself.
    static std::set<int> keysDownOnDevice(int fd);

private:
    void readAvailable();
    void handle(const input_event& event);
    void press(int code);
    void release(int code);
    void resynchronise();
    void end();

    int m_fd;
    KeysDown m_keysDown;
    Deliver m_deliver;
    std::function<void()> m_gone;
    std::unique_ptr<QSocketNotifier> m_notifier;
    X11KeyTranslator m_translator;
    std::set<int> m_down;
    // After the kernel dropped events, everything up to the next report is incomplete.
    bool m_dropped = false;
};
