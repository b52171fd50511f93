#include "ui/StatsScreen.h"

#include "api/BackendClient.h"
#include "history/HistoryStore.h"
#include "platform/Clock.h"
#include "stats/StatsEngine.h"
#include "ui/ViewTime.h"

#include <QLocale>
#include <QPointer>

#include <variant>

using namespace Qt::StringLiterals;

namespace {

// Spaces and tabs, not line breaks.
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool hasContent(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    return start < text.size();
}

QVariantMap entry(const QString& title, const QString& detail)
{
    return {{u"title"_s, title}, {u"detail"_s, detail}};
}

} // namespace

StatsScreen::StatsScreen(HistoryStore& history, StatsEngine& engine, BackendClient& backend,
                         const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_history(history)
    , m_engine(engine)
    , m_backend(backend)
    , m_clock(clock)
    , m_task(engine)
{
    for (const StatsPeriod period : StatsPeriods::all)
        m_periodLabels.append(StatsPeriods::pickerLabel(period));
    connect(&m_history, &HistoryStore::itemsChanged, this, &StatsScreen::recomputeIfNeeded);
    connect(&m_task, &StatsTask::progress, this, &StatsScreen::onProgress);
    connect(&m_task, &StatsTask::finished, this, &StatsScreen::onFinished);
}

StatsScreen::~StatsScreen() = default;

QStringList StatsScreen::insightSamples(const QList<HistoryItem>& items,
                                        const std::function<qint64(const QString&)>& countWords)
{
    QStringList samples;
    for (const HistoryItem& item : items.first(std::min(items.size(), insightCandidates))) {
        if (samples.size() == insightSampleLimit)
            break;
        if (countWords(item.text) > 2)
            samples.append(item.text);
    }
    return samples;
}

QStringList StatsScreen::recapTexts(const QList<HistoryItem>& items, StatsPeriod period,
                                    const QDateTime& now)
{
    QStringList texts;
    for (const HistoryItem& item : StatsPeriods::select(items, period, now).current) {
        if (texts.size() == recapTextLimit)
            break;
        if (hasContent(item.text))
            texts.append(item.text); // sent as written, blanks and all
    }
    return texts;
}

void StatsScreen::setShown(bool shown)
{
    m_shown = shown;
    recomputeIfNeeded();
}

void StatsScreen::setPeriod(StatsPeriod period)
{
    if (period == m_period)
        return;
    m_period = period;
    Q_EMIT periodChanged();
    Q_EMIT recapChanged();
    recomputeIfNeeded();
}

void StatsScreen::setPeriodIndex(int index)
{
    if (index >= 0 && index < int(StatsPeriods::all.size()))
        setPeriod(StatsPeriods::all[std::size_t(index)]);
}

StatsScreen::RecomputeKey StatsScreen::currentKey() const
{
    const QList<HistoryItem>& items = m_history.items();
    return {m_period, items.size(),
            items.isEmpty() ? std::nullopt : std::optional(items.first().createdAt)};
}

void StatsScreen::recomputeIfNeeded()
{
    const RecomputeKey key = currentKey();
    if (!m_shown || key == m_startedKey)
        return;
    m_startedKey = key;
    // The newer key wins: what the older computation tagged is kept, so nothing is lost.
    m_task.cancel();
    const bool wasComputing = isComputing();
    m_running = m_task.start(m_history.items(), key.period, ViewTime::local(m_clock.now()));
    m_progress = {};
    Q_EMIT progressChanged();
    if (!wasComputing)
        Q_EMIT stateChanged();
}

void StatsScreen::onProgress(quint64 id, qint64 done, qint64 total)
{
    if (id != m_running)
        return;
    m_progress = {done, total};
    Q_EMIT progressChanged();
}

void StatsScreen::onFinished(quint64 id, const PeriodStats& stats)
{
    if (id != m_running)
        return;
    m_running.reset();
    m_stats = stats;
    m_statsPeriod = m_startedKey->period;
    m_cards = StatsCards::of(m_stats, *m_statsPeriod, QLocale());
    Q_EMIT statsChanged();
    Q_EMIT stateChanged();
}

QString StatsScreen::loadingDetail() const
{
    if (m_progress.total == 0)
        return {};
    const QLocale locale;
    return locale.toString(m_progress.done) + u" of "_s + locale.toString(m_progress.total) +
           u" messages read"_s;
}

qreal StatsScreen::loadingFraction() const
{
    return m_progress.total > 0 ? qreal(m_progress.done) / qreal(m_progress.total) : -1;
}

QVariantList StatsScreen::keyFigures() const
{
    QVariantList figures;
    for (const KeyFigure& figure : m_cards.keyFigures) {
        figures.append(QVariantMap{
            {u"title"_s, figure.title}, {u"value"_s, figure.value}, {u"symbol"_s, figure.symbol}});
    }
    return figures;
}

QString StatsScreen::grouped(qint64 number) const
{
    return QLocale().toString(number);
}

QVariantList StatsScreen::topFillers() const
{
    QVariantList fillers;
    for (const FillerCount& filler : m_cards.topFillers)
        fillers.append(QVariantMap{{u"word"_s, filler.word}, {u"count"_s, filler.count}});
    return fillers;
}

QString StatsScreen::insightsButtonText() const
{
    return m_loadingInsights ? u"Analyzing…"_s : u"Get AI insights"_s;
}

QString StatsScreen::insightsSummary() const
{
    return m_insights ? m_insights->summary : QString();
}

QStringList StatsScreen::strengths() const
{
    return m_insights ? m_insights->strengths : QStringList();
}

QVariantList StatsScreen::suggestions() const
{
    QVariantList list;
    if (m_insights) {
        for (const Insights::Suggestion& suggestion : m_insights->suggestions)
            list.append(entry(suggestion.title, suggestion.detail));
    }
    return list;
}

QVariantList StatsScreen::resources() const
{
    QVariantList list;
    if (m_insights) {
        for (const Insights::Resource& resource : m_insights->resources)
            list.append(entry(resource.title, resource.why));
    }
    return list;
}

QString StatsScreen::recapPrompt() const
{
    return u"A warm, one-glance recap of everything you captured "_s +
           StatsPeriods::phrase(m_period) + u'.';
}

QString StatsScreen::recapButtonText() const
{
    return m_loadingRecap ? u"Writing…"_s : u"Write my recap"_s;
}

QString StatsScreen::recap() const
{
    // A recap belongs to the period it was written for.
    return m_recap && m_recapPeriod == m_period ? *m_recap : QString();
}

QString StatsScreen::recapBody() const
{
    return recapWritten() ? recap() : recapPrompt();
}

void StatsScreen::requestInsights()
{
    if (m_loadingInsights)
        return;
    const QStringList samples = insightSamples(
        m_history.items(), [this](const QString& text) { return m_engine.countWords(text); });
    if (samples.size() < insightSampleMinimum) {
        m_insightsError = u"Dictate at least 3 messages first."_s;
        Q_EMIT insightsChanged();
        return;
    }
    m_loadingInsights = true;
    m_insightsError.reset();
    Q_EMIT insightsChanged();
    fetchInsights(samples);
}

QCoro::Task<> StatsScreen::fetchInsights(QStringList samples)
{
    const QPointer<StatsScreen> self(this);
    const BackendClient::InsightsResult result = co_await m_backend.fetchInsights(samples);
    if (!self)
        co_return;
    m_loadingInsights = false;
    if (const auto* insights = std::get_if<Insights>(&result)) {
        m_insights = *insights;
    } else {
        const QString description = std::holds_alternative<InsightsError>(result)
                                        ? describe(std::get<InsightsError>(result))
                                        : std::get<ApiError>(result).description();
        m_insightsError = description.isEmpty() ? u"Try again."_s : description;
    }
    Q_EMIT insightsChanged();
}

void StatsScreen::requestRecap()
{
    if (m_loadingRecap)
        return;
    const QStringList texts =
        recapTexts(m_history.items(), m_period, ViewTime::local(m_clock.now()));
    if (texts.isEmpty())
        return;
    m_loadingRecap = true;
    Q_EMIT recapChanged();
    fetchRecap(texts, m_period);
}

QCoro::Task<> StatsScreen::fetchRecap(QStringList texts, StatsPeriod period)
{
    const QPointer<StatsScreen> self(this);
    const BackendClient::SummaryResult result =
        co_await m_backend.fetchSummary(texts, StatsPeriods::rawValue(period));
    if (!self)
        co_return;
    m_loadingRecap = false;
    // A failed recap shows nothing, not even the earlier one.
    if (const auto* text = std::get_if<QString>(&result))
        m_recap = *text;
    else
        m_recap.reset();
    m_recapPeriod = period;
    Q_EMIT recapChanged();
}
