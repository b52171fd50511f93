#pragma once

#include <QPoint>

#include <memory>

class XcbConnection;

namespace murmo::test {

// Moves the mouse and clicks through XTest, as the user would with the real mouse.
class XTestPointer
{
public:
    XTestPointer();
    ~XTestPointer();
    XTestPointer(const XTestPointer&) = delete;
    XTestPointer& operator=(const XTestPointer&) = delete;

    bool isConnected() const { return m_connection != nullptr; }
    void moveTo(QPoint position);
    // Presses and releases `button` (1 left, 3 right) where the mouse is.
    void click(int button = 1);

private:
    std::unique_ptr<XcbConnection> m_connection;
};

} // namespace murmo::test
