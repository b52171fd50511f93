#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

// The sheet where the user picks the languages they speak: a filter over the supported
// languages, the chosen ones as chips and an auto-detect switch. Nothing is kept until saved.
class LanguagePickerModal : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the onboarding view")

    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(bool autoDetect READ autoDetect WRITE setAutoDetect NOTIFY autoDetectChanged)
    // {code, name, nativeName, selected} for each language the query finds.
    Q_PROPERTY(QVariantList rows READ rows NOTIFY rowsChanged)
    // {code, label} for each chosen language, by code.
    Q_PROPERTY(QVariantList chips READ chips NOTIFY selectionChanged)
    Q_PROPERTY(bool noneChosen READ noneChosen NOTIFY selectionChanged)
    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    Q_PROPERTY(QString subtitle MEMBER m_subtitle CONSTANT)
    Q_PROPERTY(QString autoDetectText MEMBER m_autoDetectText CONSTANT)
    Q_PROPERTY(QString searchPlaceholder MEMBER m_searchPlaceholder CONSTANT)
    Q_PROPERTY(QString selectedTitle MEMBER m_selectedTitle CONSTANT)
    Q_PROPERTY(QString noneChosenText MEMBER m_noneChosenText CONSTANT)
    Q_PROPERTY(QString saveText MEMBER m_saveText CONSTANT)

public:
    using SaveAction = std::function<void(const QStringList& codes, bool autoDetect)>;

    // `dismiss` closes the sheet, after a save or without one.
    LanguagePickerModal(const QStringList& selected, bool autoDetect, SaveAction onSave,
                        std::function<void()> dismiss, QObject* parent = nullptr);

    QString query() const { return m_query; }
    void setQuery(const QString& query);
    bool autoDetect() const { return m_autoDetect; }
    void setAutoDetect(bool on);
    QVariantList rows() const;
    QVariantList chips() const;
    bool noneChosen() const { return m_selected.isEmpty(); }
    // The chosen codes, sorted.
    QStringList selected() const;

    Q_INVOKABLE void toggle(const QString& code);
    Q_INVOKABLE void save();
    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void queryChanged();
    void autoDetectChanged();
    void rowsChanged();
    void selectionChanged();

private:
    QSet<QString> m_selected;
    bool m_autoDetect;
    QString m_query;
    QStringList m_found;
    SaveAction m_onSave;
    std::function<void()> m_dismiss;

    QString m_title = QStringLiteral("Languages");
    QString m_subtitle = QStringLiteral("Select the languages you speak with Murmo");
    QString m_autoDetectText = QStringLiteral("Auto-detect");
    QString m_searchPlaceholder = QStringLiteral("Search for any language");
    QString m_selectedTitle = QStringLiteral("Selected");
    QString m_noneChosenText = QStringLiteral("None yet — auto-detect will handle it.");
    QString m_saveText = QStringLiteral("Save and close");
};
