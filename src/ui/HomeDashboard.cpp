#include "ui/HomeDashboard.h"

#include "core/DictationController.h"
#include "history/HistoryStore.h"
#include "platform/Clock.h"
#include "platform/UserAccount.h"
#include "preferences/Hotkey.h"
#include "ui/ViewTime.h"

#include <QLocale>

#include <chrono>

using namespace Qt::StringLiterals;

HomeDashboard::HomeDashboard(DictationController& controller, HistoryStore& history,
                             const Clock& clock, Scheduler& scheduler, const UserAccount& account,
                             QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_history(history)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_greeting(HomeFigures::greeting(account.fullName()))
{
    connect(&m_history, &HistoryStore::itemsChanged, this, &HomeDashboard::refresh);
    connect(&m_controller, &DictationController::hotkeyChanged, this,
            &HomeDashboard::keyHintChanged);
    refresh();
    refreshAtMidnight();
}

QString HomeDashboard::keyHint() const
{
    return Hotkeys::forLinuxKeyboard(Hotkeys::hint(m_controller.hotkey()));
}

QVariantList HomeDashboard::feed() const
{
    QVariantList rows;
    for (const HistoryItem& item : m_figures.feed) {
        const QTime created = ViewTime::created(item).time();
        rows.append(QVariantMap{{u"time"_s, QLocale::c().toString(created, u"h:mm AP"_s)},
                                {u"text"_s, item.text},
                                {u"symbol"_s, HomeFigures::channelSymbol(item.sentVia)}});
    }
    return rows;
}

QString HomeDashboard::wordsToday() const
{
    return QLocale().toString(m_figures.wordsToday);
}

QString HomeDashboard::avgWpm() const
{
    return QLocale().toString(m_figures.avgWpm);
}

QString HomeDashboard::unlockText() const
{
    if (HomeFigures::wordsToUnlock(m_figures.totalWords) == 0)
        return u"Unlocked — your profile is under Insights"_s;
    return u"Unlocks in "_s + QLocale().toString(HomeFigures::wordsToUnlock(m_figures.totalWords)) +
           u" words"_s;
}

void HomeDashboard::refresh()
{
    m_figures = HomeFigures::of(m_history.items(), ViewTime::local(m_clock.now()));
    Q_EMIT figuresChanged();
}

void HomeDashboard::refreshAtMidnight()
{
    const QDateTime current = ViewTime::local(m_clock.now());
    const QDateTime midnight = current.date().addDays(1).startOfDay();
    const auto wait = std::chrono::milliseconds(current.msecsTo(midnight) + 1);
    m_midnight = m_scheduler.runAfter(wait, [this] {
        refresh();
        refreshAtMidnight();
    });
}
