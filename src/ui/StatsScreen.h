#pragma once

#include "api/Insights.h"
#include "stats/StatsPeriod.h"
#include "stats/StatsTask.h"
#include "ui/StatsCards.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <functional>
#include <optional>

class BackendClient;
class Clock;
class HistoryStore;
class StatsEngine;

// The statistics screen: the chosen period's statistics as cards, computed off the main thread
// from the history, and the two requests to the backend (insights on recent messages, a recap of
// the period). Computes only while shown, and only when the period or the history changed in a
// way that matters (see RecomputeKey).
class StatsScreen : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    Q_PROPERTY(QString subtitle MEMBER m_subtitle CONSTANT)
    Q_PROPERTY(QStringList periodLabels MEMBER m_periodLabels CONSTANT)
    Q_PROPERTY(int periodIndex READ periodIndex WRITE setPeriodIndex NOTIFY periodChanged)

    // What the column shows: the first computation's progress, the empty state or the cards.
    Q_PROPERTY(bool loadingVisible READ loadingVisible NOTIFY stateChanged)
    Q_PROPERTY(bool emptyVisible READ emptyVisible NOTIFY stateChanged)
    Q_PROPERTY(bool cardsVisible READ cardsVisible NOTIFY stateChanged)
    Q_PROPERTY(QString loadingTitle MEMBER m_loadingTitle CONSTANT)
    Q_PROPERTY(QString loadingDetail READ loadingDetail NOTIFY progressChanged)
    // 0 to 1, or -1 while the amount of work is not known yet.
    Q_PROPERTY(qreal loadingFraction READ loadingFraction NOTIFY progressChanged)
    Q_PROPERTY(QString emptySymbol MEMBER m_emptySymbol CONSTANT)
    Q_PROPERTY(QString emptyTitle MEMBER m_emptyTitle CONSTANT)
    Q_PROPERTY(QString emptyText MEMBER m_emptyText CONSTANT)
    // The cards' figures animate in over this long after each computation.
    Q_PROPERTY(int revealDuration MEMBER m_revealDuration CONSTANT)

    Q_PROPERTY(QString wordsCaption READ wordsCaption NOTIFY statsChanged)
    Q_PROPERTY(qint64 words READ words NOTIFY statsChanged)
    Q_PROPERTY(bool wordsBadgeVisible READ wordsBadgeVisible NOTIFY statsChanged)
    Q_PROPERTY(QString wordsBadgeSymbol READ wordsBadgeSymbol NOTIFY statsChanged)
    Q_PROPERTY(QString wordsBadgeText READ wordsBadgeText NOTIFY statsChanged)
    Q_PROPERTY(bool wordsBadgeGood READ wordsBadgeGood NOTIFY statsChanged)
    Q_PROPERTY(QString wordsComparison READ wordsComparison NOTIFY statsChanged)
    // Each {title, value, symbol}.
    Q_PROPERTY(QVariantList keyFigures READ keyFigures NOTIFY statsChanged)

    Q_PROPERTY(QString vocabTitle MEMBER m_vocabTitle CONSTANT)
    Q_PROPERTY(QString vocabSymbol MEMBER m_vocabSymbol CONSTANT)
    Q_PROPERTY(int vocabScore READ vocabScore NOTIFY statsChanged)
    Q_PROPERTY(QString vocabScoreText READ vocabScoreText NOTIFY statsChanged)
    Q_PROPERTY(QString vocabScale MEMBER m_vocabScale CONSTANT)
    Q_PROPERTY(QString uniqueWordsLine READ uniqueWordsLine NOTIFY statsChanged)
    Q_PROPERTY(QString vocabDelta READ vocabDelta NOTIFY statsChanged)
    Q_PROPERTY(QStringList topWords READ topWords NOTIFY statsChanged)

    Q_PROPERTY(QString hoursTitle MEMBER m_hoursTitle CONSTANT)
    Q_PROPERTY(QString hoursSymbol MEMBER m_hoursSymbol CONSTANT)
    Q_PROPERTY(QList<qreal> hourBars READ hourBars NOTIFY statsChanged)
    Q_PROPERTY(QString hoursAxisStart MEMBER m_hoursAxisStart CONSTANT)
    Q_PROPERTY(QString hoursAxisEnd MEMBER m_hoursAxisEnd CONSTANT)
    Q_PROPERTY(QString peakText READ peakText NOTIFY statsChanged)

    Q_PROPERTY(QString clarityTitle MEMBER m_clarityTitle CONSTANT)
    Q_PROPERTY(QString claritySymbol MEMBER m_claritySymbol CONSTANT)
    Q_PROPERTY(bool crystalClear READ crystalClear NOTIFY statsChanged)
    Q_PROPERTY(QString crystalClearText READ crystalClearText NOTIFY statsChanged)
    Q_PROPERTY(QString fillerRate READ fillerRate NOTIFY statsChanged)
    Q_PROPERTY(QString fillerRateCaption MEMBER m_fillerRateCaption CONSTANT)
    Q_PROPERTY(bool fillerBadgeVisible READ fillerBadgeVisible NOTIFY statsChanged)
    Q_PROPERTY(QString fillerBadgeSymbol READ fillerBadgeSymbol NOTIFY statsChanged)
    Q_PROPERTY(QString fillerBadgeText READ fillerBadgeText NOTIFY statsChanged)
    Q_PROPERTY(bool fillerBadgeGood READ fillerBadgeGood NOTIFY statsChanged)
    // Each {word, count}.
    Q_PROPERTY(QVariantList topFillers READ topFillers NOTIFY statsChanged)

    Q_PROPERTY(QString devicesTitle MEMBER m_devicesTitle CONSTANT)
    Q_PROPERTY(QString devicesSymbol MEMBER m_devicesSymbol CONSTANT)
    Q_PROPERTY(QString phoneLabel MEMBER m_phoneLabel CONSTANT)
    Q_PROPERTY(QString computerLabel MEMBER m_computerLabel CONSTANT)
    Q_PROPERTY(QString phoneWords READ phoneWords NOTIFY statsChanged)
    Q_PROPERTY(QString computerWords READ computerWords NOTIFY statsChanged)
    Q_PROPERTY(qreal phoneShare READ phoneShare NOTIFY statsChanged)
    Q_PROPERTY(qreal computerShare READ computerShare NOTIFY statsChanged)

    Q_PROPERTY(QString coachTitle MEMBER m_coachTitle CONSTANT)
    Q_PROPERTY(QString coachSymbol MEMBER m_coachSymbol CONSTANT)
    Q_PROPERTY(QString coachText MEMBER m_coachText CONSTANT)
    Q_PROPERTY(bool loadingInsights READ loadingInsights NOTIFY insightsChanged)
    Q_PROPERTY(QString insightsButtonText READ insightsButtonText NOTIFY insightsChanged)
    // Once insights are shown, "Refresh" asks again; the big button returns only to show progress.
    Q_PROPERTY(bool insightsButtonVisible READ insightsButtonVisible NOTIFY insightsChanged)
    Q_PROPERTY(QString insightsError READ insightsError NOTIFY insightsChanged)
    Q_PROPERTY(bool insightsVisible READ insightsVisible NOTIFY insightsChanged)
    Q_PROPERTY(QString insightsSummary READ insightsSummary NOTIFY insightsChanged)
    Q_PROPERTY(QStringList strengths READ strengths NOTIFY insightsChanged)
    // Each {title, detail}.
    Q_PROPERTY(QVariantList suggestions READ suggestions NOTIFY insightsChanged)
    // Each {title, detail}: a resource and why it helps.
    Q_PROPERTY(QVariantList resources READ resources NOTIFY insightsChanged)
    Q_PROPERTY(QString strengthSymbol MEMBER m_strengthSymbol CONSTANT)
    Q_PROPERTY(QString suggestionSymbol MEMBER m_suggestionSymbol CONSTANT)
    Q_PROPERTY(QString refreshSymbol MEMBER m_refreshSymbol CONSTANT)
    Q_PROPERTY(QString refreshText MEMBER m_refreshText CONSTANT)

    Q_PROPERTY(QString recapTitle READ recapTitle NOTIFY periodChanged)
    Q_PROPERTY(QString recapPrompt READ recapPrompt NOTIFY periodChanged)
    Q_PROPERTY(QString recapSymbol MEMBER m_recapSymbol CONSTANT)
    Q_PROPERTY(bool loadingRecap READ loadingRecap NOTIFY recapChanged)
    Q_PROPERTY(QString recapButtonText READ recapButtonText NOTIFY recapChanged)
    // Likewise with "Rewrite" once a recap is shown.
    Q_PROPERTY(bool recapButtonVisible READ recapButtonVisible NOTIFY recapChanged)
    Q_PROPERTY(bool recapWritten READ recapWritten NOTIFY recapChanged)
    // The recap, or while there is none, what it would be.
    Q_PROPERTY(QString recapBody READ recapBody NOTIFY recapChanged)
    Q_PROPERTY(QString rewriteText MEMBER m_rewriteText CONSTANT)

public:
    // What the statistics depend on: typing elsewhere in the window or editing a record in place
    // never reruns the analysis.
    struct RecomputeKey
    {
        StatsPeriod period = StatsPeriod::week;
        qsizetype count = 0;
        std::optional<double> first; // createdAt of the store's first record

        bool operator==(const RecomputeKey&) const = default;
    };

    // At most this many of the newest records are looked at for insights …
    static constexpr qsizetype insightCandidates = 60;
    // … and at most this many of them, each longer than two words, are sent.
    static constexpr qsizetype insightSampleLimit = 40;
    static constexpr qsizetype insightSampleMinimum = 3;
    static constexpr qsizetype recapTextLimit = 60;

    StatsScreen(HistoryStore& history, StatsEngine& engine, BackendClient& backend,
                const Clock& clock, QObject* parent = nullptr);
    ~StatsScreen() override;

    // The texts insights are asked about, newest first.
    static QStringList insightSamples(const QList<HistoryItem>& items,
                                      const std::function<qint64(const QString&)>& countWords);
    // The texts of the period's current window that a recap is written from, in store order.
    static QStringList recapTexts(const QList<HistoryItem>& items, StatsPeriod period,
                                  const QDateTime& now);

    // The screen computes only while it is on screen.
    void setShown(bool shown);
    StatsPeriod period() const { return m_period; }
    void setPeriod(StatsPeriod period);
    int periodIndex() const { return int(m_period); }
    void setPeriodIndex(int index);
    const PeriodStats& stats() const { return m_stats; }
    bool isComputing() const { return m_running.has_value(); }

    bool loadingVisible() const { return !m_statsPeriod && isComputing(); }
    bool emptyVisible() const { return m_statsPeriod && m_stats.messages < 1; }
    bool cardsVisible() const { return m_statsPeriod && m_stats.messages >= 1; }
    QString loadingDetail() const;
    qreal loadingFraction() const;

    QString wordsCaption() const { return m_cards.wordsCaption; }
    qint64 words() const { return m_stats.words; }
    bool wordsBadgeVisible() const { return m_cards.wordsBadge.visible; }
    QString wordsBadgeSymbol() const { return m_cards.wordsBadge.symbol; }
    QString wordsBadgeText() const { return m_cards.wordsBadge.text; }
    bool wordsBadgeGood() const { return m_cards.wordsBadge.good; }
    QString wordsComparison() const { return m_cards.wordsComparison; }
    QVariantList keyFigures() const;
    // The words figure as it counts up to its value.
    Q_INVOKABLE QString grouped(qint64 number) const;

    int vocabScore() const { return int(m_stats.vocabScore); }
    QString vocabScoreText() const { return m_cards.vocabScore; }
    QString uniqueWordsLine() const { return m_cards.uniqueWordsLine; }
    QString vocabDelta() const { return m_cards.vocabDelta; }
    QStringList topWords() const { return m_cards.topWords; }

    QList<qreal> hourBars() const { return m_cards.hourBars; }
    QString peakText() const { return m_cards.peakText; }

    bool crystalClear() const { return m_cards.crystalClear; }
    QString crystalClearText() const { return m_cards.crystalClearText; }
    QString fillerRate() const { return m_cards.fillerRate; }
    bool fillerBadgeVisible() const { return m_cards.fillerBadge.visible; }
    QString fillerBadgeSymbol() const { return m_cards.fillerBadge.symbol; }
    QString fillerBadgeText() const { return m_cards.fillerBadge.text; }
    bool fillerBadgeGood() const { return m_cards.fillerBadge.good; }
    QVariantList topFillers() const;

    QString phoneWords() const { return m_cards.phoneWords; }
    QString computerWords() const { return m_cards.computerWords; }
    qreal phoneShare() const { return m_cards.phoneShare; }
    qreal computerShare() const { return m_cards.computerShare; }

    bool loadingInsights() const { return m_loadingInsights; }
    QString insightsButtonText() const;
    bool insightsButtonVisible() const { return !insightsVisible() || m_loadingInsights; }
    QString insightsError() const { return m_insightsError.value_or(QString()); }
    bool insightsVisible() const { return m_insights.has_value(); }
    QString insightsSummary() const;
    QStringList strengths() const;
    QVariantList suggestions() const;
    QVariantList resources() const;

    QString recapTitle() const { return StatsCards::recapTitle(m_period); }
    QString recapPrompt() const;
    bool loadingRecap() const { return m_loadingRecap; }
    QString recapButtonText() const;
    bool recapButtonVisible() const { return !recapWritten() || m_loadingRecap; }
    // The recap of the chosen period; empty while there is none.
    QString recap() const;
    bool recapWritten() const { return !recap().isEmpty(); }
    QString recapBody() const;

    Q_INVOKABLE void requestInsights();
    Q_INVOKABLE void requestRecap();

Q_SIGNALS:
    void periodChanged();
    void stateChanged();
    void progressChanged();
    void statsChanged();
    void insightsChanged();
    void recapChanged();

private:
    struct Progress
    {
        qint64 done = 0;
        qint64 total = 0;
    };

    RecomputeKey currentKey() const;
    void recomputeIfNeeded();
    void onProgress(quint64 id, qint64 done, qint64 total);
    void onFinished(quint64 id, const PeriodStats& stats);
    QCoro::Task<> fetchInsights(QStringList samples);
    QCoro::Task<> fetchRecap(QStringList texts, StatsPeriod period);

    HistoryStore& m_history;
    StatsEngine& m_engine;
    BackendClient& m_backend;
    const Clock& m_clock;
    StatsTask m_task;

    bool m_shown = false;
    StatsPeriod m_period = StatsPeriod::week;
    std::optional<RecomputeKey> m_startedKey;
    std::optional<quint64> m_running;
    Progress m_progress;
    PeriodStats m_stats;
    std::optional<StatsPeriod> m_statsPeriod; // none until the first computation ends
    StatsCards m_cards;

    bool m_loadingInsights = false;
    std::optional<Insights> m_insights;
    std::optional<QString> m_insightsError;
    bool m_loadingRecap = false;
    std::optional<QString> m_recap;
    StatsPeriod m_recapPeriod = StatsPeriod::week;

    QString m_title = QStringLiteral("Insights");
    QString m_subtitle = QStringLiteral("How you speak, at a glance");
    QStringList m_periodLabels;
    QString m_loadingTitle = QStringLiteral("Reading your history…");
    QString m_emptySymbol = QStringLiteral("chart.bar.xaxis");
    QString m_emptyTitle = QStringLiteral("No stats yet");
    QString m_emptyText =
        QStringLiteral("Dictate a few messages and your insights will appear here.");
    int m_revealDuration = 700;
    QString m_vocabTitle = QStringLiteral("Your vocabulary");
    QString m_vocabSymbol = QStringLiteral("character.book.closed.fill");
    QString m_vocabScale = QStringLiteral("/100");
    QString m_hoursTitle = QStringLiteral("When you speak");
    QString m_hoursSymbol = QStringLiteral("clock.fill");
    QString m_hoursAxisStart = StatsCards::hourLabel(0);
    QString m_hoursAxisEnd = StatsCards::hourLabel(23);
    QString m_clarityTitle = QStringLiteral("Clarity");
    QString m_claritySymbol = QStringLiteral("waveform.badge.checkmark");
    QString m_fillerRateCaption = QStringLiteral("fillers per 100 words");
    QString m_devicesTitle = QStringLiteral("Phone vs computer");
    QString m_devicesSymbol = QStringLiteral("laptopcomputer.and.iphone");
    QString m_phoneLabel = QStringLiteral("Phone");
    QString m_computerLabel = QStringLiteral("Computer");
    QString m_coachTitle = QStringLiteral("AI speech coach");
    QString m_coachSymbol = QStringLiteral("sparkles");
    QString m_coachText = QStringLiteral(
        "AI feedback on your real messages — what you do well and how to say more, more clearly.");
    QString m_strengthSymbol = QStringLiteral("checkmark.circle.fill");
    QString m_suggestionSymbol = QStringLiteral("lightbulb.fill");
    QString m_refreshSymbol = QStringLiteral("arrow.clockwise");
    QString m_refreshText = QStringLiteral("Refresh");
    QString m_recapSymbol = QStringLiteral("sparkle");
    QString m_rewriteText = QStringLiteral("Rewrite");
};
