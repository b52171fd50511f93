#pragma once

#include "platform/Scheduler.h"
#include "ui/HomeFigures.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class Clock;
class DictationController;
class HistoryStore;
class UserAccount;

// The home section: the greeting, today's feed and the running numbers, recomputed whenever the
// history changes and when a new day begins.
class HomeDashboard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QString greeting READ greeting CONSTANT)
    Q_PROPERTY(QString keyHint READ keyHint NOTIFY keyHintChanged)
    Q_PROPERTY(QList<int> brandBars MEMBER m_brandBars CONSTANT)
    Q_PROPERTY(QString anotherAppTitle MEMBER m_anotherAppTitle CONSTANT)
    Q_PROPERTY(QString anotherAppText MEMBER m_anotherAppText CONSTANT)

    Q_PROPERTY(QString feedTitle MEMBER m_feedTitle CONSTANT)
    // Each {time, text, symbol}.
    Q_PROPERTY(QVariantList feed READ feed NOTIFY figuresChanged)
    Q_PROPERTY(QString feedEmptyText MEMBER m_feedEmptyText CONSTANT)

    Q_PROPERTY(QString wordsToday READ wordsToday NOTIFY figuresChanged)
    Q_PROPERTY(QString wordsTodayLabel MEMBER m_wordsTodayLabel CONSTANT)
    Q_PROPERTY(QString avgWpm READ avgWpm NOTIFY figuresChanged)
    Q_PROPERTY(QString avgWpmLabel MEMBER m_avgWpmLabel CONSTANT)
    Q_PROPERTY(QString savedThisWeek READ savedThisWeek NOTIFY figuresChanged)
    Q_PROPERTY(QString savedThisWeekLabel MEMBER m_savedThisWeekLabel CONSTANT)

    Q_PROPERTY(QString profileTitle MEMBER m_profileTitle CONSTANT)
    Q_PROPERTY(QString profileText MEMBER m_profileText CONSTANT)
    Q_PROPERTY(QString profileSymbol MEMBER m_profileSymbol CONSTANT)
    // 0 to 100.
    Q_PROPERTY(int profileProgress READ profileProgress NOTIFY figuresChanged)
    Q_PROPERTY(QString profileProgressText READ profileProgressText NOTIFY figuresChanged)
    Q_PROPERTY(QString unlockText READ unlockText NOTIFY figuresChanged)

public:
    HomeDashboard(DictationController& controller, HistoryStore& history, const Clock& clock,
                  Scheduler& scheduler, const UserAccount& account, QObject* parent = nullptr);

    const HomeFigures& figures() const { return m_figures; }

    QString greeting() const { return m_greeting; }
    QString keyHint() const;
    QVariantList feed() const;
    QString wordsToday() const;
    QString avgWpm() const;
    QString savedThisWeek() const { return HomeFigures::savedText(m_figures.savedThisWeek); }
    int profileProgress() const { return int(HomeFigures::profileProgress(m_figures.totalWords)); }
    QString profileProgressText() const { return QString::number(profileProgress()) + u'%'; }
    QString unlockText() const;

Q_SIGNALS:
    void figuresChanged();
    void keyHintChanged();

private:
    void refresh();
    // "Today" and "this week" move on even when the history does not.
    void refreshAtMidnight();

    DictationController& m_controller;
    HistoryStore& m_history;
    const Clock& m_clock;
    Scheduler& m_scheduler;
    QString m_greeting;
    HomeFigures m_figures;
    TimerHandle m_midnight;

    QList<int> m_brandBars{7, 11, 15, 9};
    QString m_anotherAppTitle = QStringLiteral("Try Murmo in another app");
    QString m_anotherAppText =
        QStringLiteral("Murmo works anywhere you can type — mail, chats, docs, code.");
    QString m_feedTitle = QStringLiteral("TODAY");
    QString m_feedEmptyText = QStringLiteral("Your dictations will show up here.");
    QString m_wordsTodayLabel = QStringLiteral("words today");
    QString m_avgWpmLabel = QStringLiteral("avg WPM");
    QString m_savedThisWeekLabel = QStringLiteral("saved this week");
    QString m_profileTitle = QStringLiteral("Your Voice Profile");
    QString m_profileText =
        QStringLiteral("Discover the words, tone and pace that make your voice yours.");
    QString m_profileSymbol = QStringLiteral("waveform");
};
