#pragma once

#include "platform/Scheduler.h"
#include "ui/NudgePlacement.h"
#include "ui/PillPalette.h"

#include <QColor>
#include <QEasingCurve>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>

class NudgeState;

// Everything the typing nudge's card shows: its texts and colours, the key to hold, and the
// five-second countdown that runs while the card is showing; and its dismiss action.
class NudgeModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the nudge panel")

    Q_PROPERTY(bool showing READ showing NOTIFY showingChanged)
    Q_PROPERTY(QString keyLabel READ keyLabel CONSTANT)
    Q_PROPERTY(int secondsLeft READ secondsLeft NOTIFY secondsLeftChanged)
    // The number while seconds are left, then a cross.
    Q_PROPERTY(bool secondsVisible READ secondsVisible NOTIFY secondsLeftChanged)

    Q_PROPERTY(QString headlineText READ headlineText CONSTANT)
    Q_PROPERTY(QString sublineText MEMBER m_sublineText CONSTANT)
    Q_PROPERTY(QString dismissTip MEMBER m_dismissTip CONSTANT)

    Q_PROPERTY(int countdownDuration MEMBER m_countdownDuration CONSTANT)
    Q_PROPERTY(int fadeDuration MEMBER m_fadeDuration CONSTANT)
    Q_PROPERTY(int slideDistance MEMBER m_slideDistance CONSTANT)
    Q_PROPERTY(int pulseDuration MEMBER m_pulseDuration CONSTANT)
    // The card's fade and slide, and the halo's pulse.
    Q_PROPERTY(QEasingCurve easeOut MEMBER m_easeOut CONSTANT)
    Q_PROPERTY(int shadowPadding MEMBER m_shadowPadding CONSTANT)
    Q_PROPERTY(qreal shadowOpacity MEMBER m_shadowOpacity CONSTANT)
    Q_PROPERTY(int shadowRadius MEMBER m_shadowRadius CONSTANT)
    Q_PROPERTY(int shadowOffset MEMBER m_shadowOffset CONSTANT)

    Q_PROPERTY(QColor badgeInnerColor MEMBER m_badgeInnerColor CONSTANT)
    Q_PROPERTY(QColor badgeOuterColor MEMBER m_badgeOuterColor CONSTANT)
    Q_PROPERTY(QColor haloColor MEMBER m_haloColor CONSTANT)
    Q_PROPERTY(QColor micColor MEMBER m_micColor CONSTANT)
    Q_PROPERTY(QColor headlineColor MEMBER m_headlineColor CONSTANT)
    Q_PROPERTY(QColor sublineColor MEMBER m_sublineColor CONSTANT)
    Q_PROPERTY(QColor keyCapTextColor MEMBER m_keyCapTextColor CONSTANT)
    Q_PROPERTY(QColor keyCapFillColor MEMBER m_keyCapFillColor CONSTANT)
    Q_PROPERTY(QColor keyCapBorderColor MEMBER m_keyCapBorderColor CONSTANT)
    Q_PROPERTY(QColor trackColor MEMBER m_trackColor CONSTANT)
    Q_PROPERTY(QColor arcColor MEMBER m_arcColor CONSTANT)
    Q_PROPERTY(QColor secondsColor MEMBER m_secondsColor CONSTANT)
    Q_PROPERTY(QColor crossColor MEMBER m_crossColor CONSTANT)
    Q_PROPERTY(QColor cardTopColor MEMBER m_cardTopColor CONSTANT)
    Q_PROPERTY(QColor cardBottomColor MEMBER m_cardBottomColor CONSTANT)
    Q_PROPERTY(QColor cardBorderColor MEMBER m_cardBorderColor CONSTANT)

public:
    static constexpr int countdownSeconds = 5;

    NudgeModel(NudgeState& state, QString keyLabel, std::function<void()> onDismiss,
               Scheduler& scheduler, QObject* parent = nullptr);
    ~NudgeModel() override;

    bool showing() const;
    QString keyLabel() const { return m_keyLabel; }
    int secondsLeft() const { return m_secondsLeft; }
    bool secondsVisible() const { return m_secondsLeft >= 1; }
    // "Typing a lot? Dictate it 3× faster", its last words in the accent colour.
    QString headlineText() const;

    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void showingChanged();
    void secondsLeftChanged();

private:
    static QEasingCurve easeOutCurve();
    void followShowing();
    void step();
    void setSecondsLeft(int seconds);

    NudgeState& m_state;
    std::function<void()> m_onDismiss;
    Scheduler& m_scheduler;
    TimerHandle m_tick;
    int m_steps = 0;
    int m_secondsLeft = countdownSeconds;

    QString m_keyLabel;
    QString m_sublineText = QStringLiteral("Hold to talk — Murmo drops the text right where your "
                                           "cursor is");
    QString m_dismissTip = QStringLiteral("Dismiss");

    int m_countdownDuration = countdownSeconds * 1000;
    int m_fadeDuration = 220;
    int m_slideDistance = 12;
    int m_pulseDuration = 2000;
    QEasingCurve m_easeOut = easeOutCurve();
    int m_shadowPadding = NudgePlacement::shadowPadding;
    qreal m_shadowOpacity = 0.45;
    int m_shadowRadius = 20;
    int m_shadowOffset = 10;

    QColor m_badgeInnerColor = PillPalette::rgb(78, 155, 255);
    QColor m_badgeOuterColor = PillPalette::accentBlue();
    QColor m_haloColor = PillPalette::accentBlue(0.5);
    QColor m_micColor = PillPalette::white(1);
    QColor m_headlineColor = PillPalette::rgb(252, 249, 243);
    QColor m_emphasisColor = PillPalette::rgb(127, 182, 255);
    QColor m_sublineColor = PillPalette::white(0.55);
    QColor m_keyCapTextColor = PillPalette::white(1);
    QColor m_keyCapFillColor = PillPalette::white(0.10);
    QColor m_keyCapBorderColor = PillPalette::white(0.16);
    QColor m_trackColor = PillPalette::white(0.12);
    QColor m_arcColor = PillPalette::rgb(127, 182, 255);
    QColor m_secondsColor = PillPalette::white(0.75);
    QColor m_crossColor = PillPalette::white(0.60);
    QColor m_cardTopColor = PillPalette::rgb(42, 38, 33, 0.80);
    QColor m_cardBottomColor = PillPalette::rgb(24, 21, 15, 0.85);
    QColor m_cardBorderColor = PillPalette::white(0.10);
};
