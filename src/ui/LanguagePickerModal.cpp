#include "ui/LanguagePickerModal.h"

#include "onboarding/SpokenLanguages.h"

#include <QVariantMap>

#include <algorithm>

using namespace Qt::StringLiterals;

LanguagePickerModal::LanguagePickerModal(const QStringList& selected, bool autoDetect,
                                         SaveAction onSave, std::function<void()> dismiss,
                                         QObject* parent)
    : QObject(parent)
    , m_selected(selected.begin(), selected.end())
    , m_autoDetect(autoDetect)
    , m_found(SpokenLanguages::codes())
    , m_onSave(std::move(onSave))
    , m_dismiss(std::move(dismiss))
{
    connect(this, &LanguagePickerModal::selectionChanged, this, &LanguagePickerModal::rowsChanged);
}

void LanguagePickerModal::setQuery(const QString& query)
{
    if (query == m_query)
        return;
    m_query = query;
    m_found = SpokenLanguages::filtered(query);
    Q_EMIT queryChanged();
    Q_EMIT rowsChanged();
}

void LanguagePickerModal::setAutoDetect(bool on)
{
    if (on == m_autoDetect)
        return;
    m_autoDetect = on;
    Q_EMIT autoDetectChanged();
}

QVariantList LanguagePickerModal::rows() const
{
    QVariantList rows;
    for (const QString& code : m_found) {
        const QString name = SpokenLanguages::englishName(code);
        const QString native = SpokenLanguages::nativeName(code);
        rows.append(QVariantMap{{u"code"_s, code},
                                {u"name"_s, name},
                                {u"nativeName"_s, native == name ? QString() : native},
                                {u"selected"_s, m_selected.contains(code)}});
    }
    return rows;
}

QVariantList LanguagePickerModal::chips() const
{
    QVariantList chips;
    for (const QString& code : selected())
        chips.append(
            QVariantMap{{u"code"_s, code}, {u"label"_s, SpokenLanguages::englishName(code)}});
    return chips;
}

QStringList LanguagePickerModal::selected() const
{
    QStringList codes(m_selected.begin(), m_selected.end());
    std::sort(codes.begin(), codes.end());
    return codes;
}

void LanguagePickerModal::toggle(const QString& code)
{
    if (!m_selected.remove(code))
        m_selected.insert(code);
    Q_EMIT selectionChanged();
}

void LanguagePickerModal::save()
{
    m_onSave(selected(), m_autoDetect);
    dismiss();
}

void LanguagePickerModal::dismiss()
{
    m_dismiss();
}
