#include "platform/linux/QtScheduler.h"

#include <QPointer>
#include <QTimer>

TimerHandle QtScheduler::runAfter(Duration delay, std::function<void()> callback)
{
    return start(delay, true, std::move(callback));
}

TimerHandle QtScheduler::runEvery(Duration interval, std::function<void()> callback)
{
    return start(interval, false, std::move(callback));
}

TimerHandle QtScheduler::start(Duration interval, bool singleShot, std::function<void()> callback)
{
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(singleShot);
    timer->setInterval(interval);
    QObject::connect(timer, &QTimer::timeout, timer, std::move(callback));
    timer->start();
    // deleteLater: the handle may be dropped from inside the timer's own callback.
    return TimerHandle([timer = QPointer<QTimer>(timer)] {
        if (timer) {
            timer->stop();
            timer->deleteLater();
        }
    });
}
