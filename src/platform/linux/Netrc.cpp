#include "platform/linux/Netrc.h"

#include <QList>

namespace {

// Tokens separated by white space. A "macdef" body runs to the next empty line and holds no
// entries, so it is left out.
QList<QByteArray> tokens(const QByteArray& contents)
{
    QList<QByteArray> result;
    bool inMacro = false;
    for (const QByteArray& line : contents.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (inMacro) {
            inMacro = !trimmed.isEmpty();
            continue;
        }
        for (const QByteArray& token : trimmed.simplified().split(' ')) {
            if (token.isEmpty())
                continue;
            if (token == "macdef") {
                inMacro = true;
                break;
            }
            result.append(token);
        }
    }
    return result;
}

} // namespace

namespace Netrc {

std::optional<Login> find(const QByteArray& contents, const QString& host)
{
    const QList<QByteArray> words = tokens(contents);
    std::optional<Login> matched;
    std::optional<Login> fallback;
    std::optional<Login>* current = nullptr;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QByteArray& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "machine" && hasValue) {
            const bool match =
                !matched && QString::fromUtf8(words[++i]).compare(host, Qt::CaseInsensitive) == 0;
            current = match ? &matched : nullptr;
            if (match)
                matched.emplace();
        } else if (word == "default") {
            current = fallback ? nullptr : &fallback;
            if (current)
                fallback.emplace();
        } else if (word == "login" && hasValue) {
            const QString value = QString::fromUtf8(words[++i]);
            if (current)
                (*current)->user = value;
        } else if (word == "password" && hasValue) {
            const QString value = QString::fromUtf8(words[++i]);
            if (current)
                (*current)->password = value;
        } else if (word == "account" && hasValue) {
            ++i;
        }
    }
    return matched ? matched : fallback;
}

} // namespace Netrc
