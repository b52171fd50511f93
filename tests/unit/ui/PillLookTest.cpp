#include "ui/PillLook.h"

#include <QDebug>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QColor rgba(int r, int g, int b, qreal alpha)
{
    QColor color(r, g, b);
    color.setAlphaF(float(alpha));
    return color;
}

TEST(PillLookTest, EachPhaseAndHoverStateHasItsShapeColoursAndContent)
{
    using Content = PillLook::Content;
    struct Row
    {
        Phase phase;
        bool hovering;
        Content content;
        int width;
        QColor fill;
        QColor border;
        QColor glow;
    };
    const QColor clear(Qt::transparent);
    const Row rows[] = {
        {Phase::idle(), false, Content::restingBars, 116, rgba(18, 18, 22, 0.28),
         rgba(255, 255, 255, 0.09), clear},
        {Phase::idle(), true, Content::keyHint, 176, rgba(22, 22, 26, 0.82),
         rgba(255, 255, 255, 0.12), clear},
        {Phase::recording(), false, Content::listeningWave, 180, clear, rgba(28, 125, 255, 0.40),
         rgba(28, 125, 255, 0.12)},
        {Phase::processing(), false, Content::spinner, 150, rgba(22, 22, 26, 0.86),
         rgba(255, 255, 255, 0.12), clear},
        {Phase::done(), false, Content::check, 124, rgba(16, 26, 20, 0.90),
         rgba(67, 224, 138, 0.45), rgba(67, 224, 138, 0.12)},
        {Phase::notice(u"Mic unavailable"_s), false, Content::notice, 220, rgba(22, 22, 26, 0.86),
         rgba(255, 179, 64, 0.50), clear},
        // Hovering changes nothing once the pill is busy.
        {Phase::processing(), true, Content::spinner, 150, rgba(22, 22, 26, 0.86),
         rgba(255, 255, 255, 0.12), clear},
    };
    for (const Row& row : rows) {
        const PillLook look = PillLook::of(row.phase, row.hovering);
        const auto name =
            QDebug::toString(row.phase.kind()).toStdString() + (row.hovering ? " hovering" : "");
        EXPECT_EQ(look.content, row.content) << name;
        EXPECT_EQ(look.width, row.width) << name;
        EXPECT_EQ(look.fill, row.fill) << name;
        EXPECT_EQ(look.border, row.border) << name;
        EXPECT_EQ(look.glow, row.glow) << name;
        const bool expanded = row.phase != Phase::idle() || row.hovering;
        EXPECT_EQ(look.expanded, expanded) << name;
        EXPECT_EQ(look.shadowOpacity, expanded ? 0.34 : 0.28) << name;
        EXPECT_EQ(look.shadowRadius, expanded ? 13 : 11) << name;
        EXPECT_EQ(look.shadowOffset, expanded ? 10 : 8) << name;
    }
}

TEST(PillLookTest, FailuresAreRedAndOtherNoticesAmber)
{
    const QColor red(255, 107, 96);
    const QColor amber(255, 179, 64);
    const std::pair<QString, QColor> notices[] = {
        {u"Murmo had a hiccup. Please try again."_s, red},
        {u"Offline — check your connection"_s, red},
        {u"Secure field — not inserted"_s, amber},
        {u"Copied — press Ctrl+V"_s, amber},
        {u"offline"_s, amber}, // the markers are matched as written
        {u""_s, amber},
    };
    for (const auto& [text, colour] : notices) {
        const PillLook look = PillLook::of(Phase::notice(text), false);
        EXPECT_EQ(look.noticeSymbol, colour) << text.toStdString();
        EXPECT_EQ(look.border, rgba(colour.red(), colour.green(), colour.blue(), 0.5))
            << text.toStdString();
    }
}

} // namespace
