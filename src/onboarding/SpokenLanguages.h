#pragma once

#include <QString>
#include <QStringList>

// The languages a user may say they speak, with their names from the locale data.
namespace SpokenLanguages {

// The supported codes, in display order.
const QStringList& codes();

// The language's name in English, first letter upper-cased; the code when the locale data has
// no name for it.
QString englishName(const QString& code);
// The language's name in itself, first letter upper-cased; empty when unknown.
QString nativeName(const QString& code);
// "German (Deutsch)", or the English name alone when the native one is missing or the same.
QString displayLabel(const QString& code);

// The supported codes whose English or native name contains the query, or which equal it,
// ignoring case and surrounding spaces and tabs. All of them for an empty query.
QStringList filtered(const QString& query);

// The codes a new user starts with: the first two two-letter languages the system prefers
// (region and script dropped), and English.
QStringList fromPreferredLanguages(const QStringList& preferred);

} // namespace SpokenLanguages
