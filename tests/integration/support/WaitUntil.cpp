#include "support/WaitUntil.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace murmo::test {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    if (condition())
        return true;

    QDeadlineTimer expiry(deadline);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(std::chrono::milliseconds(10));
    bool held = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        held = condition();
        if (held || expiry.hasExpired())
            loop.quit();
    });
    poll.start();
    loop.exec();
    return held;
}

} // namespace murmo::test
