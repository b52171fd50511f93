#pragma once

#include "history/HistoryItem.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

class HistoryStore;

// The history section: every record of the store, newest first, for a list that makes rows only
// for what is on screen. Display only: copying and deleting live in the history window.
class HistoryList : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    Q_PROPERTY(bool empty READ empty NOTIFY emptyChanged)
    Q_PROPERTY(QString emptyText MEMBER m_emptyText CONSTANT)

public:
    enum Role
    {
        TextRole = Qt::UserRole + 1,
        TimeRole,
        DeviceSymbolRole,
    };

    explicit HistoryList(HistoryStore& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    bool empty() const { return m_items.isEmpty(); }

Q_SIGNALS:
    void emptyChanged();

private:
    void reload();

    HistoryStore& m_history;
    QList<HistoryItem> m_items;
    QString m_title = QStringLiteral("History");
    QString m_emptyText =
        QStringLiteral("Nothing here yet — hold your shortcut in any app and speak.");
};
