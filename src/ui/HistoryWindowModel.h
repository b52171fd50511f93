#pragma once

#include "history/HistoryItem.h"
#include "platform/TimerHandle.h"

#include <QAbstractListModel>
#include <QColor>
#include <QLocale>
#include <QSize>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <optional>

class HistoryStore;
class Pasteboard;
class Scheduler;

// Everything the "Murmo History" window shows: the records matching the search, newest first,
// each with its texts and its "Copied" mark; the empty state and the footer; and the window's
// actions. The rows are this list model's rows.
class HistoryWindowModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the history window")

    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(bool emptyStateVisible READ emptyStateVisible NOTIFY countsChanged)
    Q_PROPERTY(QString footerText READ footerText NOTIFY countsChanged)

    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    Q_PROPERTY(QString searchPrompt MEMBER m_searchPrompt CONSTANT)
    Q_PROPERTY(QString emptyTitle MEMBER m_emptyTitle CONSTANT)
    Q_PROPERTY(QString emptyMessage MEMBER m_emptyMessage CONSTANT)
    Q_PROPERTY(QString copiedText MEMBER m_copiedText CONSTANT)
    Q_PROPERTY(QString copyText MEMBER m_copyText CONSTANT)
    Q_PROPERTY(QString deleteText MEMBER m_deleteText CONSTANT)
    Q_PROPERTY(QSize defaultSize MEMBER m_defaultSize CONSTANT)
    Q_PROPERTY(QSize minimumSize MEMBER m_minimumSize CONSTANT)
    Q_PROPERTY(QColor chipColor MEMBER m_chipColor CONSTANT)
    Q_PROPERTY(QColor copiedColor MEMBER m_copiedColor CONSTANT)
    Q_PROPERTY(QColor secondaryColor MEMBER m_secondaryColor CONSTANT)

public:
    enum Role
    {
        textRole = Qt::UserRole + 1,
        dateRole,
        categoryRole, // capitalised; empty when the record has none
        copiedRole,
    };

    // How long a row keeps its "Copied" mark.
    static constexpr std::chrono::milliseconds copiedDisplay{1200};

    HistoryWindowModel(HistoryStore& store, Pasteboard& pasteboard, Scheduler& scheduler,
                       QLocale locale = QLocale(), QObject* parent = nullptr);
    ~HistoryWindowModel() override;

    // The records whose text contains the query, trimmed, in the locale's letter case rules;
    // all of them when the trimmed query is empty.
    static QList<HistoryItem> matching(const QList<HistoryItem>& items, const QString& query,
                                       const QLocale& locale);
    // The record's time as an abbreviated date with a shortened time, in the local time zone.
    static QString dateLine(double createdAt, const QLocale& locale);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QString query() const { return m_query; }
    void setQuery(const QString& query);
    bool emptyStateVisible() const;
    QString footerText() const;
    std::optional<QUuid> copiedId() const { return m_copiedId; }

    // Puts the row's text on the clipboard and marks the row "Copied" for a moment.
    Q_INVOKABLE void copy(int row);
    Q_INVOKABLE void remove(int row);
    // The window came into view: fetch what other devices added.
    Q_INVOKABLE void shown();

Q_SIGNALS:
    void queryChanged();
    void countsChanged();

private:
    void refilter();
    void setCopiedId(std::optional<QUuid> id);
    int rowOf(const QUuid& id) const;

    HistoryStore& m_store;
    Pasteboard& m_pasteboard;
    Scheduler& m_scheduler;
    QLocale m_locale;
    QString m_query;
    QList<HistoryItem> m_rows;
    std::optional<QUuid> m_copiedId;
    TimerHandle m_copiedTimer;

    QString m_title = QStringLiteral("Murmo History");
    QString m_searchPrompt = QStringLiteral("Search history");
    QString m_emptyTitle = QStringLiteral("Nothing here yet");
    QString m_emptyMessage = QStringLiteral(
        "Dictations from your phone and this computer appear here,\nsynced through your cloud "
        "folder.");
    QString m_copiedText = QStringLiteral("Copied");
    QString m_copyText = QStringLiteral("Copy");
    QString m_deleteText = QStringLiteral("Delete");
    QSize m_defaultSize{500, 580};
    QSize m_minimumSize{420, 380};
    QColor m_chipColor;
    QColor m_copiedColor{0x2e, 0xa0, 0x43};
    QColor m_secondaryColor{0x6e, 0x6e, 0x73};
};
