#include "ui/PillLook.h"

#include "ui/PillPalette.h"

using namespace Qt::StringLiterals;
using namespace PillPalette;

namespace {

// Failures read as errors; fallbacks and refusals ("Secure field — not inserted") as warnings.
bool isFailure(const QString& notice)
{
    return notice.contains(u"Offline"_s) || notice.contains(u"hiccup"_s);
}

PillLook idle(bool hovering)
{
    PillLook look;
    look.content = hovering ? PillLook::Content::keyHint : PillLook::Content::restingBars;
    look.width = hovering ? 176 : 116;
    look.fill = hovering ? hoverFill() : restFill();
    look.border = white(hovering ? 0.12 : 0.09);
    return look;
}

PillLook active(const Phase& phase)
{
    PillLook look;
    switch (phase.kind()) {
    case Phase::Kind::idle:
        break;
    case Phase::Kind::recording:
        // The wave draws its own gradient instead of a fill.
        look.content = PillLook::Content::listeningWave;
        look.width = 180;
        look.border = accentBlue(0.40);
        look.glow = accentBlue(0.12);
        break;
    case Phase::Kind::processing:
        look.content = PillLook::Content::spinner;
        look.width = 150;
        look.fill = darkFill();
        look.border = white(0.12);
        break;
    case Phase::Kind::done:
        look.content = PillLook::Content::check;
        look.width = 124;
        look.fill = doneFill();
        look.border = successGreen(0.45);
        look.glow = successGreen(0.12);
        break;
    case Phase::Kind::notice: {
        const bool failure = isFailure(phase.message());
        look.content = PillLook::Content::notice;
        look.width = 220;
        look.fill = darkFill();
        look.border = failure ? errorRed(0.50) : warningAmber(0.50);
        look.noticeSymbol = failure ? errorRed() : warningAmber();
        break;
    }
    }
    return look;
}

} // namespace

PillLook PillLook::of(const Phase& phase, bool hovering)
{
    PillLook look = phase.kind() == Phase::Kind::idle ? idle(hovering) : active(phase);
    look.expanded = phase.kind() != Phase::Kind::idle || hovering;
    look.shadowOpacity = look.expanded ? 0.34 : 0.28;
    look.shadowRadius = look.expanded ? 13 : 11;
    look.shadowOffset = look.expanded ? 10 : 8;
    return look;
}
