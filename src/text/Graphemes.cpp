#include "text/Graphemes.h"

#include <QTextBoundaryFinder>

namespace Graphemes {

namespace {
// Calls visit(position) at each boundary after the start, until visit returns false.
template<class Visit>
void forEachBoundary(const QString& text, Visit visit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype position = finder.toNextBoundary(); position > 0;
         position = finder.toNextBoundary()) {
        if (!visit(position))
            return;
    }
}
} // namespace

qsizetype count(const QString& text)
{
    qsizetype boundaries = 0;
    forEachBoundary(text, [&](qsizetype) { return ++boundaries, true; });
    return boundaries;
}

QString left(const QString& text, qsizetype count)
{
    qsizetype end = 0;
    qsizetype seen = 0;
    forEachBoundary(text, [&](qsizetype position) {
        if (seen == count)
            return false;
        ++seen;
        end = position;
        return true;
    });
    return text.left(end);
}

} // namespace Graphemes
