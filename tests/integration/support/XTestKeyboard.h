#pragma once

#include <memory>
#include <set>

class XcbConnection;

namespace murmo::test {

// Presses and releases keys by X keycode through XTest, as the user would at the keyboard.
// xdotool is no use here: it presses the left-hand key of a modifier whatever was asked.
class XTestKeyboard
{
public:
    XTestKeyboard();
    // Releases whatever is still held, so a failed test leaves no key down for the next one.
    ~XTestKeyboard();
    XTestKeyboard(const XTestKeyboard&) = delete;
    XTestKeyboard& operator=(const XTestKeyboard&) = delete;

    bool isConnected() const { return m_connection != nullptr; }
    void press(int xKeycode);
    void release(int xKeycode);

private:
    void send(bool press, int xKeycode);

    std::unique_ptr<XcbConnection> m_connection;
    std::set<int> m_held;
};

} // namespace murmo::test
