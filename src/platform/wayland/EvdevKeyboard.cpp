#include "platform/wayland/EvdevKeyboard.h"

#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace {

// The X server numbers keys as the kernel does, plus 8.
constexpr int xKeycodeOffset = 8;

enum KeyValue
{
    keyReleased = 0,
    keyPressed = 1,
    keyRepeated = 2,
};

} // namespace

EvdevKeyboard::EvdevKeyboard(int fd, KeysDown keysDown, Deliver deliver, std::function<void()> gone)
    : m_fd(fd)
    , m_keysDown(std::move(keysDown))
    , m_deliver(std::move(deliver))
    , m_gone(std::move(gone))
    , m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read))
{
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readAvailable(); });
}

EvdevKeyboard::~EvdevKeyboard()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

std::set<int> EvdevKeyboard::keysDownOnDevice(int fd)
{
    std::array<unsigned char, KEY_MAX / 8 + 1> bits{};
    std::set<int> down;
    if (::ioctl(fd, EVIOCGKEY(bits.size()), bits.data()) < 0)
        return down;
    for (int code = 0; code <= KEY_MAX; ++code) {
        if (bits[code / 8] & (1 << (code % 8)))
            down.insert(code);
    }
    return down;
}

void EvdevKeyboard::readAvailable()
{
    std::array<input_event, 64> events;
    for (;;) {
        const ssize_t got = ::read(m_fd, events.data(), sizeof events);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        if (got <= 0) { // unplugged (ENODEV) or the stream ended
            end();
            return;
        }
        const auto count = static_cast<std::size_t>(got) / sizeof(input_event);
        for (std::size_t i = 0; i < count; ++i)
            handle(events[i]);
        if (m_fd < 0)
            return;
    }
}

void EvdevKeyboard::handle(const input_event& event)
{
    if (event.type == EV_SYN) {
        if (event.code == SYN_DROPPED) {
            m_dropped = true;
        } else if (event.code == SYN_REPORT && m_dropped) {
            m_dropped = false;
            resynchronise();
        }
        return;
    }
    if (event.type != EV_KEY || m_dropped)
        return;
    switch (event.value) {
    case keyPressed:
    case keyRepeated:
        press(event.code);
        break;
    case keyReleased:
        release(event.code);
        break;
    }
}

void EvdevKeyboard::press(int code)
{
    m_down.insert(code);
    if (const auto translated = m_translator.press(code + xKeycodeOffset))
        m_deliver(translated->kind, translated->event);
}

void EvdevKeyboard::release(int code)
{
    m_down.erase(code);
    if (const auto translated = m_translator.release(code + xKeycodeOffset))
        m_deliver(translated->kind, translated->event);
}

// What happened while events were lost is learnt from the device's key state: keys let go
// meanwhile are released (a hold must not outlive its key), keys gone down are pressed.
void EvdevKeyboard::resynchronise()
{
    const std::set<int> now = m_keysDown();
    const std::set<int> before = m_down;
    for (const int code : before) {
        if (!now.contains(code))
            release(code);
    }
    for (const int code : now) {
        if (!before.contains(code))
            press(code);
    }
}

void EvdevKeyboard::end()
{
    // We are inside the notifier's signal: it goes once that has returned.
    m_notifier->setEnabled(false);
    m_notifier.release()->deleteLater();
    ::close(m_fd);
    m_fd = -1;
    const std::set<int> held = m_down;
    for (const int code : held)
        release(code);
    // Last: the owner may destroy this keyboard from here.
    if (const auto gone = std::exchange(m_gone, {}))
        gone();
}
