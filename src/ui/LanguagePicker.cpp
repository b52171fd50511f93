#include "ui/LanguagePicker.h"

#include "onboarding/SpokenLanguages.h"

#include "preferences/Preferences.h"

#include <iterator>

using namespace Qt::StringLiterals;

namespace {

struct Choice
{
    QStringView label;
    QStringView code;
};

constexpr Choice choices[] = {
    {u"Auto-detect", u""},
    {u"Русский", u"ru"},
    {u"English", u"en"},
};

} // namespace

LanguagePicker::LanguagePicker(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    connect(&m_preferences, &Preferences::speakLangChanged, this, &LanguagePicker::changed);
}

QStringList LanguagePicker::labels()
{
    QStringList labels;
    for (const Choice& choice : choices)
        labels.append(choice.label.toString());
    return labels;
}

int LanguagePicker::index() const
{
    const QString code = m_preferences.speakLang();
    for (int i = 0; i < int(std::size(choices)); ++i) {
        if (choices[i].code == code)
            return i;
    }
    return -1;
}

void LanguagePicker::choose(int index)
{
    if (index >= 0 && index < int(std::size(choices)))
        m_preferences.setSpeakLang(choices[index].code.toString());
}

QString LanguagePicker::currentLabel() const
{
    const int chosen = index();
    if (chosen >= 0)
        return choices[chosen].label.toString();
    const QString code = m_preferences.speakLang();
    const QString name = SpokenLanguages::nativeName(code);
    return name.isEmpty() ? code : name;
}
