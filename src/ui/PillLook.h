#pragma once

#include "core/Phase.h"

#include <QColor>

// How the pill's capsule looks for a phase and hover state: the decisions behind the view.
struct PillLook
{
    // What the capsule shows.
    enum class Content
    {
        restingBars,
        keyHint,
        listeningWave,
        spinner,
        check,
        notice
    };

    static constexpr int capsuleHeight = 28;
    // The widest the capsule grows to fit its content, leaving room for the shadow in the panel.
    static constexpr int maximumWidth = 312;

    static PillLook of(const Phase& phase, bool hovering);

    Content content = Content::restingBars;
    // Widened with a translucent, blurred backdrop: any phase but idle, or idle under the mouse.
    bool expanded = false;
    int width = 0;
    QColor fill{Qt::transparent};
    QColor border;
    // Drawn 3 points wide across the capsule's edge; clear when there is none.
    QColor glow{Qt::transparent};
    // The notice's symbol: red for failures, amber for the rest.
    QColor noticeSymbol{Qt::transparent};
    qreal shadowOpacity = 0;
    qreal shadowRadius = 0;
    qreal shadowOffset = 0;
};
