#include "ui/HistoryList.h"

#include "history/HistoryStore.h"
#include "ui/HomeFigures.h"
#include "ui/ViewTime.h"

#include <QLocale>

using namespace Qt::StringLiterals;

HistoryList::HistoryList(HistoryStore& history, QObject* parent)
    : QAbstractListModel(parent)
    , m_history(history)
    , m_items(history.items())
{
    connect(&m_history, &HistoryStore::itemsChanged, this, &HistoryList::reload);
}

int HistoryList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant HistoryList::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HistoryItem& item = m_items[index.row()];
    switch (role) {
    case TextRole:
        return item.text;
    case TimeRole:
        return QLocale::c().toString(ViewTime::created(item), u"MMM d, yyyy · h:mm AP"_s);
    case DeviceSymbolRole:
        return HomeFigures::deviceSymbol(item.device);
    default:
        return {};
    }
}

QHash<int, QByteArray> HistoryList::roleNames() const
{
    return {{TextRole, "text"}, {TimeRole, "time"}, {DeviceSymbolRole, "deviceSymbol"}};
}

void HistoryList::reload()
{
    const bool wasEmpty = empty();
    beginResetModel();
    m_items = m_history.items(); // shared with the store until it changes again
    endResetModel();
    if (wasEmpty != empty())
        Q_EMIT emptyChanged();
}
