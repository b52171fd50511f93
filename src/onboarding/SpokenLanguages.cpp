#include "onboarding/SpokenLanguages.h"

#include "text/Trimming.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

QString capitalized(QString name)
{
    if (!name.isEmpty() && !name.front().isSurrogate())
        name.front() = name.front().toUpper();
    return name;
}

// None for a code the locale data does not know.
std::optional<QLocale::Language> languageOf(const QString& code)
{
    const QLocale::Language language = QLocale::codeToLanguage(code);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return std::nullopt;
    return language;
}

} // namespace

namespace SpokenLanguages {

const QStringList& codes()
{
    static const QStringList all = u"en zh es hi ar pt ru ja de fr ko it tr pl uk nl id vi th sv "
                                   u"he cs el ro hu da fi nb fa hr sk bg ms ca ta te ml kn mr bn "
                                   u"gu pa ur ne si sw af sq hy az eu be bs cy et gl is ka kk lv "
                                   u"lt mk mn sr sl tl uz am km lo my yo ha so mt mi la yi tg tt "
                                   u"haw ln sn oc br fo lb mg as sa"_s.split(u' ');
    return all;
}

QString englishName(const QString& code)
{
    const auto language = languageOf(code);
    return language ? capitalized(QLocale::languageToString(*language)) : code;
}

QString nativeName(const QString& code)
{
    const auto language = languageOf(code);
    if (!language)
        return {};
    // A language without locale data of its own falls back to another locale's name.
    const QLocale own(*language);
    if (own.language() != *language)
        return {};
    // The default locale names a regional variety ("American English", "español de España");
    // the plain name is the shortest of its locales' names that the regional one contains.
    QString name = own.nativeLanguageName();
    const auto locales = QLocale::matchingLocales(*language, own.script(), QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        const QString candidate = locale.nativeLanguageName();
        if (!candidate.isEmpty() && candidate.size() < name.size() &&
            name.contains(candidate, Qt::CaseInsensitive))
            name = candidate;
    }
    return capitalized(name);
}

QString displayLabel(const QString& code)
{
    const QString english = englishName(code);
    const QString native = nativeName(code);
    if (native.isEmpty() || native == english)
        return english;
    return english + u" ("_s + native + u')';
}

QStringList filtered(const QString& query)
{
    const QString q = trimmedOfSpacesAndTabs(query).toLower();
    if (q.isEmpty())
        return codes();
    QStringList found;
    for (const QString& code : codes()) {
        if (englishName(code).toLower().contains(q) || nativeName(code).toLower().contains(q) ||
            code == q)
            found.append(code);
    }
    return found;
}

QStringList fromPreferredLanguages(const QStringList& preferred)
{
    QStringList chosen;
    for (const QString& identifier : preferred) {
        if (chosen.size() >= 2)
            break;
        const QString code = identifier.section(u'-', 0, 0).toLower();
        if (code.size() == 2 && !chosen.contains(code))
            chosen.append(code);
    }
    if (!chosen.contains(u"en"_s))
        chosen.append(u"en"_s);
    return chosen;
}

} // namespace SpokenLanguages
