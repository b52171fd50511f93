#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Modifier flags of key events, in the program's own values. Left and right keys share a flag.
namespace ModifierFlags {
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;
// The right-hand keys a hold may use also set a flag of their own, so that a watcher can tell
// which of the two keys sharing a flag is down.
inline constexpr std::uint64_t rightCommandKey = 0x10;
inline constexpr std::uint64_t rightOptionKey = 0x40;
} // namespace ModifierFlags

// One keyboard event in the program's own virtual key codes.
struct KeyEvent
{
    int keyCode = 0;
    std::uint64_t modifierFlags = 0;
    // What the key types with no modifier held; empty for modifiers and keys that type nothing.
    QString characters;
};

// Identifies one installed monitor; meaningful only to the object that returned it.
enum class KeyMonitorHandle : std::uint64_t
{
};

// Watches the keyboard. Global monitors see the keys typed into other applications, local
// monitors those typed into this application's own windows. Monitors observe only: an event
// always reaches its window whatever the handlers do.
class KeyEventMonitors
{
public:
    enum class Scope
    {
        global,
        local
    };
    enum class Kind
    {
        flagsChanged, // a modifier key or Caps Lock went down or up
        keyDown       // any other key went down, auto-repeats included
    };
    using Handler = std::function<void(const KeyEvent&)>;

    virtual ~KeyEventMonitors() = default;
    // Handlers run on the main thread, in the order they were installed. None when the desktop
    // refuses the monitor.
    virtual std::optional<KeyMonitorHandle> addMonitor(Scope scope, Kind kind, Handler handler) = 0;
    // Takes effect at once, even for an event that is being delivered.
    virtual void removeMonitor(KeyMonitorHandle handle) = 0;
    // Why no monitor can be installed at all (no display to watch, for instance), in words for
    // the user; none when monitors can be installed.
    virtual std::optional<QString> unavailableReason() const = 0;
};
