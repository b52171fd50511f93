#pragma once

#include "platform/Clock.h"
#include "platform/Scheduler.h"
#include "ui/PillLook.h"
#include "ui/PillPalette.h"
#include "ui/PillPlacement.h"
#include "ui/WaveHeights.h"

#include <QColor>
#include <QEasingCurve>
#include <QList>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>

class DictationController;

// Everything the pill's view shows, derived from the controller's phase and hold key, the
// microphone level and whether the mouse is over the capsule; and the pill's actions.
class PillModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the pill panel")

    Q_PROPERTY(bool hovering READ hovering WRITE setHovering NOTIFY hoveringChanged)

    Q_PROPERTY(bool restingBarsVisible READ restingBarsVisible NOTIFY lookChanged)
    Q_PROPERTY(bool keyHintVisible READ keyHintVisible NOTIFY lookChanged)
    Q_PROPERTY(bool waveVisible READ waveVisible NOTIFY lookChanged)
    Q_PROPERTY(bool spinnerVisible READ spinnerVisible NOTIFY lookChanged)
    Q_PROPERTY(bool checkVisible READ checkVisible NOTIFY lookChanged)
    Q_PROPERTY(bool noticeVisible READ noticeVisible NOTIFY lookChanged)

    // The view's measure of what the capsule shows, in points; the capsule grows to fit it.
    Q_PROPERTY(
        qreal contentWidth READ contentWidth WRITE setContentWidth NOTIFY contentWidthChanged)
    Q_PROPERTY(int capsuleWidth READ capsuleWidth NOTIFY capsuleWidthChanged)
    Q_PROPERTY(int maximumContentWidth READ maximumContentWidth CONSTANT)
    Q_PROPERTY(QColor fillColor READ fillColor NOTIFY lookChanged)
    Q_PROPERTY(QColor borderColor READ borderColor NOTIFY lookChanged)
    Q_PROPERTY(QColor glowColor READ glowColor NOTIFY lookChanged)
    Q_PROPERTY(qreal shadowOpacity READ shadowOpacity NOTIFY lookChanged)
    Q_PROPERTY(qreal shadowRadius READ shadowRadius NOTIFY lookChanged)
    Q_PROPERTY(qreal shadowOffset READ shadowOffset NOTIFY lookChanged)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY lookChanged)
    Q_PROPERTY(QColor noticeSymbolColor READ noticeSymbolColor NOTIFY lookChanged)
    // How the latest change animates: phase changes spring, hover changes ease.
    Q_PROPERTY(int transitionDuration READ transitionDuration NOTIFY lookChanged)
    Q_PROPERTY(QEasingCurve transitionEasing READ transitionEasing NOTIFY lookChanged)

    Q_PROPERTY(QString keyHint READ keyHint NOTIFY keyHintChanged)
    // Bar heights in points, refreshed 20 times a second while recording.
    Q_PROPERTY(QList<qreal> waveBars READ waveBars NOTIFY waveBarsChanged)
    Q_PROPERTY(int waveStepDuration READ waveStepDuration CONSTANT)

    Q_PROPERTY(QSize panelSize MEMBER m_panelSize CONSTANT)
    Q_PROPERTY(int capsuleHeight MEMBER m_capsuleHeight CONSTANT)
    Q_PROPERTY(int capsuleBottomMargin MEMBER m_capsuleBottomMargin CONSTANT)
    Q_PROPERTY(QList<int> restingBars MEMBER m_restingBars CONSTANT)

    Q_PROPERTY(QColor restingBarColor MEMBER m_restingBarColor CONSTANT)
    Q_PROPERTY(QColor highlightColor MEMBER m_highlightColor CONSTANT)
    Q_PROPERTY(QColor waveTopColor MEMBER m_waveTopColor CONSTANT)
    Q_PROPERTY(QColor waveBottomColor MEMBER m_waveBottomColor CONSTANT)
    Q_PROPERTY(QList<QColor> waveBarColors MEMBER m_waveBarColors CONSTANT)
    Q_PROPERTY(QColor micColor MEMBER m_micColor CONSTANT)
    Q_PROPERTY(QColor spinnerColor MEMBER m_spinnerColor CONSTANT)
    Q_PROPERTY(QColor labelColor MEMBER m_labelColor CONSTANT)
    Q_PROPERTY(QColor cancelSymbolColor MEMBER m_cancelSymbolColor CONSTANT)
    Q_PROPERTY(QColor cancelBackColor MEMBER m_cancelBackColor CONSTANT)
    Q_PROPERTY(QColor checkColor MEMBER m_checkColor CONSTANT)
    Q_PROPERTY(QColor doneLabelColor MEMBER m_doneLabelColor CONSTANT)
    Q_PROPERTY(QColor noticeLabelColor MEMBER m_noticeLabelColor CONSTANT)
    Q_PROPERTY(QString cleaningUpText MEMBER m_cleaningUpText CONSTANT)
    Q_PROPERTY(QString insertedText MEMBER m_insertedText CONSTANT)

public:
    // How often the wave follows the level while recording.
    static constexpr std::chrono::milliseconds waveStep{50};

    // `level` reads the microphone's current level, 0 to 1.
    PillModel(DictationController& controller, std::function<qreal()> level, const Clock& clock,
              Scheduler& scheduler, QObject* parent = nullptr);
    ~PillModel() override;

    bool hovering() const { return m_hovering; }
    void setHovering(bool hovering);
    const PillLook& look() const { return m_look; }

    bool restingBarsVisible() const { return shows(PillLook::Content::restingBars); }
    bool keyHintVisible() const { return shows(PillLook::Content::keyHint); }
    bool waveVisible() const { return shows(PillLook::Content::listeningWave); }
    bool spinnerVisible() const { return shows(PillLook::Content::spinner); }
    bool checkVisible() const { return shows(PillLook::Content::check); }
    bool noticeVisible() const { return shows(PillLook::Content::notice); }

    qreal contentWidth() const { return m_contentWidth; }
    void setContentWidth(qreal width);
    // The phase's width, or wider where the content needs it (fonts differ from desktop to
    // desktop, and "Super" is longer than a key symbol).
    int capsuleWidth() const;
    int maximumContentWidth() const;
    QColor fillColor() const { return m_look.fill; }
    QColor borderColor() const { return m_look.border; }
    QColor glowColor() const { return m_look.glow; }
    qreal shadowOpacity() const { return m_look.shadowOpacity; }
    qreal shadowRadius() const { return m_look.shadowRadius; }
    qreal shadowOffset() const { return m_look.shadowOffset; }
    QString noticeText() const;
    QColor noticeSymbolColor() const { return m_look.noticeSymbol; }
    int transitionDuration() const;
    QEasingCurve transitionEasing() const;

    QString keyHint() const;
    QList<qreal> waveBars() const { return m_waveBars; }
    int waveStepDuration() const { return int(waveStep.count()); }

    // A click on the capsule starts or finishes a dictation (and does nothing while busy).
    Q_INVOKABLE void click();
    Q_INVOKABLE void cancelProcessing();
    Q_INVOKABLE void openMenu();
    void hideForAnHour();

Q_SIGNALS:
    void hoveringChanged();
    void lookChanged();
    void contentWidthChanged();
    void capsuleWidthChanged();
    void keyHintChanged();
    void waveBarsChanged();
    // The user asked for the context menu at the mouse.
    void menuRequested();

private:
    static QList<QColor> waveBarColors();
    bool shows(PillLook::Content content) const { return m_look.content == content; }
    void updateLook(bool phaseChanged);
    void followRecording();
    void tickWave();

    DictationController& m_controller;
    std::function<qreal()> m_level;
    const Clock& m_clock;
    Scheduler& m_scheduler;

    bool m_hovering = false;
    bool m_phaseTransition = true;
    qreal m_contentWidth = 0;
    PillLook m_look;
    QList<qreal> m_waveBars;
    TimerHandle m_waveTick;
    bool m_waveTicking = false;

    QSize m_panelSize = PillPlacement::panelSize;
    int m_capsuleHeight = PillLook::capsuleHeight;
    int m_capsuleBottomMargin = PillPlacement::capsuleBottomMargin;
    QList<int> m_restingBars{7, 11, 15, 9};
    QColor m_restingBarColor = PillPalette::cream(0.40);
    QColor m_highlightColor = PillPalette::white(0.14);
    QColor m_waveTopColor = PillPalette::waveTop();
    QColor m_waveBottomColor = PillPalette::waveBottom();
    QList<QColor> m_waveBarColors = waveBarColors();
    QColor m_micColor = PillPalette::lightBlue();
    QColor m_spinnerColor = PillPalette::lightBlue();
    QColor m_labelColor = PillPalette::cream(0.78);
    QColor m_cancelSymbolColor = PillPalette::cream(0.70);
    QColor m_cancelBackColor = PillPalette::white(0.10);
    QColor m_checkColor = PillPalette::successGreen();
    QColor m_doneLabelColor = PillPalette::cream(0.88);
    QColor m_noticeLabelColor = PillPalette::cream(0.90);
    QString m_cleaningUpText = QStringLiteral("Cleaning up");
    QString m_insertedText = QStringLiteral("Inserted");
};
