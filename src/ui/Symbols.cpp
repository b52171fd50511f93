#include "ui/Symbols.h"

#include <iterator>

using namespace Qt::StringLiterals;

namespace {

struct Symbol
{
    QStringView name;
    QStringView file;
};

// The one place symbol names meet icon files.
constexpr Symbol table[] = {
    // the status pill and the typing nudge
    {u"mic.fill", u"mic"},
    {u"checkmark.circle.fill", u"check-circle"},
    {u"exclamationmark.circle.fill", u"exclamation-circle"},
    {u"xmark", u"cross"},
    {u"progress.arc", u"spinner"},
    // the tray and the history window
    {u"waveform", u"waveform"},
    {u"icloud", u"cloud"},
    // the main window
    {u"house.fill", u"house"},
    {u"clock.arrow.circlepath", u"history"},
    {u"chart.bar.fill", u"chart-bar"},
    {u"gearshape", u"gear"},
    {u"envelope", u"envelope"},
    {u"bubble.left", u"speech-bubble"},
    {u"note.text", u"note"},
    {u"laptopcomputer", u"computer"},
    {u"iphone", u"phone"},
    {u"globe", u"globe"},
    {u"stop.fill", u"stop"},
    // the statistics screen
    {u"chart.bar.xaxis", u"chart-bar-axis"},
    {u"arrow.up.right", u"arrow-up-right"},
    {u"arrow.down.right", u"arrow-down-right"},
    {u"text.bubble.fill", u"speech-bubble"},
    {u"textformat.size", u"text-size"},
    {u"speedometer", u"speedometer"},
    {u"clock.badge.checkmark", u"clock-check"},
    {u"character.book.closed.fill", u"book"},
    {u"clock.fill", u"clock"},
    {u"waveform.badge.checkmark", u"waveform-check"},
    {u"laptopcomputer.and.iphone", u"computer-and-phone"},
    {u"sparkles", u"sparkles"},
    {u"sparkle", u"sparkle"},
    {u"lightbulb.fill", u"lightbulb"},
    {u"arrow.clockwise", u"refresh"},
    // the onboarding
    {u"checkmark", u"checkmark"},
    {u"checkmark.shield.fill", u"shield-check"},
    {u"chevron.left", u"chevron-left"},
    {u"chevron.right", u"chevron-right"},
    {u"arrow.right", u"chevron-right"},
    {u"plus", u"plus"},
    {u"minus", u"minus"},
    {u"magnifyingglass", u"magnifier"},
    {u"paperplane.fill", u"paper-plane"},
    {u"bubble.left.fill", u"speech-bubble"},
    {u"megaphone.fill", u"share"},
    {u"doc.text.fill", u"document"},
    {u"envelope.fill", u"envelope"},
    {u"chevron.left.forwardslash.chevron.right", u"terminal"},
    {u"largecircle.fill.circle", u"radio-on"},
    {u"circle", u"radio-off"},
    {u"circle.lefthalf.filled", u"radio-mixed"},
    {u"wand.and.stars", u"star"},
    {u"arrow.turn.right.down", u"arrow-down"},
};

} // namespace

namespace Symbols {

QString iconFile(QStringView symbol)
{
    for (const Symbol& entry : table) {
        if (entry.name == symbol)
            return entry.file.toString();
    }
    return {};
}

QStringList names()
{
    QStringList all;
    all.reserve(qsizetype(std::size(table)));
    for (const Symbol& entry : table)
        all.append(entry.name.toString());
    return all;
}

} // namespace Symbols
