#include "ui/HistoryWindowModel.h"

#include "history/HistoryStore.h"
#include "history/HistoryTime.h"
#include "platform/Pasteboard.h"
#include "platform/Scheduler.h"

#include <QDateTime>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The chip's fill: the accent colour at 12 % opacity.
QColor chipFill()
{
    QColor accent(0x0a, 0x84, 0xff);
    accent.setAlphaF(0.12f);
    return accent;
}

QString capitalised(const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return text;
    // Each word starts upper case, as a title would.
    QStringList words = text.split(u' ');
    for (QString& word : words) {
        if (!word.isEmpty())
            word = locale.toUpper(word.left(1)) + locale.toLower(word.mid(1));
    }
    return words.join(u' ');
}

// The locale's long date without the weekday and with short month names: "Mar 1, 2025",
// "1 мар. 2025 г.".
QString abbreviatedDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(u"d{4}[,.]?\\s*"_s));
    format.replace(QRegularExpression(u"M{4}"_s), u"MMM"_s);
    return format.trimmed();
}

} // namespace

HistoryWindowModel::HistoryWindowModel(HistoryStore& store, Pasteboard& pasteboard,
                                       Scheduler& scheduler, QLocale locale, QObject* parent)
    : QAbstractListModel(parent)
    , m_store(store)
    , m_pasteboard(pasteboard)
    , m_scheduler(scheduler)
    , m_locale(std::move(locale))
    , m_chipColor(chipFill())
{
    m_rows = m_store.items();
    connect(&m_store, &HistoryStore::itemsChanged, this, [this] {
        refilter();
        Q_EMIT countsChanged();
    });
}

HistoryWindowModel::~HistoryWindowModel() = default;

QList<HistoryItem> HistoryWindowModel::matching(const QList<HistoryItem>& items,
                                                const QString& query, const QLocale& locale)
{
    const QString needle = locale.toLower(query.trimmed());
    if (needle.isEmpty())
        return items;
    QList<HistoryItem> found;
    for (const HistoryItem& item : items) {
        if (locale.toLower(item.text).contains(needle))
            found.append(item);
    }
    return found;
}

QString HistoryWindowModel::dateLine(double createdAt, const QLocale& locale)
{
    const QDateTime time =
        QDateTime::fromMSecsSinceEpoch(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           HistoryTime::toTimePoint(createdAt).time_since_epoch())
                                           .count())
            .toLocalTime();
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    timeFormat.remove(QRegularExpression(u"[:.]ss?"_s)); // shortened: no seconds
    return locale.toString(time.date(), abbreviatedDateFormat(locale)) + u", "_s +
           locale.toString(time.time(), timeFormat);
}

int HistoryWindowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant HistoryWindowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const HistoryItem& item = m_rows.at(index.row());
    switch (role) {
    case textRole:
        return item.text;
    case dateRole:
        return dateLine(item.createdAt, m_locale);
    case categoryRole:
        return capitalised(item.category.value_or(QString()), m_locale);
    case copiedRole:
        return m_copiedId == item.id;
    default:
        return {};
    }
}

QHash<int, QByteArray> HistoryWindowModel::roleNames() const
{
    return {{textRole, "transcript"},
            {dateRole, "date"},
            {categoryRole, "category"},
            {copiedRole, "copied"}};
}

void HistoryWindowModel::setQuery(const QString& query)
{
    if (query == m_query)
        return;
    m_query = query;
    Q_EMIT queryChanged();
    refilter();
}

bool HistoryWindowModel::emptyStateVisible() const
{
    return m_store.items().isEmpty();
}

QString HistoryWindowModel::footerText() const
{
    return QString::number(m_store.items().size()) +
           u" messages · synced with your phone via your cloud folder"_s;
}

void HistoryWindowModel::copy(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const HistoryItem& item = m_rows.at(row);
    m_pasteboard.setPlainText(item.text);
    setCopiedId(item.id);
    // The mark lasts from the latest click: a new one replaces the pending clear.
    m_copiedTimer = m_scheduler.runAfter(copiedDisplay, [this, id = item.id] {
        if (m_copiedId == id)
            setCopiedId(std::nullopt);
    });
}

void HistoryWindowModel::remove(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_store.remove(m_rows.at(row).id);
}

void HistoryWindowModel::shown()
{
    m_store.pull();
}

void HistoryWindowModel::refilter()
{
    beginResetModel();
    m_rows = matching(m_store.items(), m_query, m_locale);
    endResetModel();
}

void HistoryWindowModel::setCopiedId(std::optional<QUuid> id)
{
    const std::optional<QUuid> previous = std::exchange(m_copiedId, id);
    for (const auto& changed : {previous, id}) {
        if (!changed)
            continue;
        const int row = rowOf(*changed);
        if (row >= 0)
            Q_EMIT dataChanged(index(row), index(row), {copiedRole});
    }
}

int HistoryWindowModel::rowOf(const QUuid& id) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).id == id)
            return row;
    }
    return -1;
}
