#pragma once

#include "onboarding/OnboardingModel.h"
#include "platform/TimerHandle.h"
#include "ui/InviteScreen.h"
#include "ui/LanguagePickerModal.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>

class OnboardingRequests;
class Scheduler;

// Everything the onboarding window shows, derived from the onboarding model: the breadcrumb,
// the footer, each screen's texts and choices, the level bars and the colours.
class OnboardingView : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made with the onboarding window")

    Q_PROPERTY(OnboardingModel* model READ model CONSTANT)
    Q_PROPERTY(InviteScreen* invite READ invite CONSTANT)
    Q_PROPERTY(LanguagePickerModal* languagePicker READ languagePicker NOTIFY languagePickerChanged)
    Q_PROPERTY(int step READ step NOTIFY changed)
    Q_PROPERTY(QStringList sections READ sections CONSTANT)
    Q_PROPERTY(int section READ section NOTIFY changed)
    Q_PROPERTY(bool backVisible READ backVisible NOTIFY changed)
    Q_PROPERTY(QString ctaTitle READ ctaTitle NOTIFY changed)
    Q_PROPERTY(bool ctaArrow READ ctaArrow NOTIFY changed)
    Q_PROPERTY(bool ctaDimmed READ ctaDimmed NOTIFY changed)
    Q_PROPERTY(bool skipShown READ skipShown NOTIFY changed)
    Q_PROPERTY(bool shake READ shake NOTIFY changed)
    // The screens' fixed texts, by "screen.part".
    Q_PROPERTY(QVariantMap copy READ copy CONSTANT)
    // {label, symbol, on} for each choice of the question screens.
    Q_PROPERTY(QVariantList sourceChips READ sourceChips NOTIFY changed)
    Q_PROPERTY(QVariantList roleChips READ roleChips NOTIFY changed)
    Q_PROPERTY(QVariantList contextChips READ contextChips NOTIFY changed)
    // {title, detail, symbol, on} for "Cloud sync" and "On-device only".
    Q_PROPERTY(QVariantList storageCards READ storageCards NOTIFY changed)
    // {title, detail, granted, help} for accessibility and the microphone.
    Q_PROPERTY(QVariantList permissionRows READ permissionRows NOTIFY changed)
    Q_PROPERTY(QString sessionNote MEMBER m_sessionNote CONSTANT)
    // {label, on} for each hold key.
    Q_PROPERTY(QVariantList hotkeyChoices READ hotkeyChoices NOTIFY changed)
    Q_PROPERTY(QString keyLabel READ keyLabel NOTIFY changed)
    Q_PROPERTY(QString holdHint READ holdHint NOTIFY changed)
    Q_PROPERTY(bool holdActive READ holdActive NOTIFY changed)
    Q_PROPERTY(QList<qreal> levelBars READ levelBars NOTIFY levelBarsChanged)
    Q_PROPERTY(QStringList languageChips READ languageChips NOTIFY changed)
    Q_PROPERTY(bool autoDetectBadge READ autoDetectBadge NOTIFY changed)
    Q_PROPERTY(QString learnPlaceholder READ learnPlaceholder NOTIFY changed)
    Q_PROPERTY(QString learnInstruction READ learnInstruction NOTIFY changed)
    Q_PROPERTY(bool learnDone READ learnDone NOTIFY changed)
    Q_PROPERTY(QString savedHours READ savedHours NOTIFY changed)
    Q_PROPERTY(QString typingHoursText READ typingHoursText NOTIFY changed)
    Q_PROPERTY(QString voiceWpm READ voiceWpm NOTIFY changed)
    Q_PROPERTY(QString factorText READ factorText NOTIFY changed)
    // Lines that mix weights or colours, as styled text.
    Q_PROPERTY(QString welcomeHeading READ welcomeHeading CONSTANT)
    Q_PROPERTY(QString pillLine READ pillLine CONSTANT)
    Q_PROPERTY(QString trustedLine READ trustedLine CONSTANT)
    Q_PROPERTY(QString learnHeading READ learnHeading CONSTANT)
    Q_PROPERTY(QString savingsLine READ savingsLine NOTIFY changed)
    Q_PROPERTY(QString voiceLine READ voiceLine NOTIFY changed)
    Q_PROPERTY(QString typingLine READ typingLine CONSTANT)
    Q_PROPERTY(QString factorLine READ factorLine NOTIFY changed)

    Q_PROPERTY(QColor backgroundColor MEMBER m_backgroundColor CONSTANT)
    Q_PROPERTY(QColor cardColor MEMBER m_cardColor CONSTANT)
    Q_PROPERTY(QColor textColor MEMBER m_textColor CONSTANT)
    Q_PROPERTY(QColor secondaryColor MEMBER m_secondaryColor CONSTANT)
    Q_PROPERTY(QColor accentColor MEMBER m_accentColor CONSTANT)
    Q_PROPERTY(QColor accentTextColor MEMBER m_accentTextColor CONSTANT)
    Q_PROPERTY(QColor lineColor MEMBER m_lineColor CONSTANT)
    Q_PROPERTY(QColor doneColor MEMBER m_doneColor CONSTANT)
    Q_PROPERTY(QColor chipOnColor MEMBER m_chipOnColor CONSTANT)
    Q_PROPERTY(QColor warningColor MEMBER m_warningColor CONSTANT)
    Q_PROPERTY(QList<QColor> brandColors MEMBER m_brandColors CONSTANT)

public:
    struct Services
    {
        Scheduler& scheduler;
        OnboardingRequests& backend;
        // The microphone's current level, 0 to 1.
        std::function<qreal()> level;
        // What this desktop session does not allow, with the ways out; empty when all works.
        QString sessionNote;
    };

    // How often the level bars follow the microphone while it is on.
    static constexpr std::chrono::milliseconds levelStep{50};

    OnboardingView(OnboardingModel& model, const Services& services, QObject* parent = nullptr);
    ~OnboardingView() override;

    OnboardingModel* model() const { return &m_model; }
    InviteScreen* invite() const { return m_invite; }
    LanguagePickerModal* languagePicker() const { return m_picker; }

    // The breadcrumb section of a step.
    static int sectionOf(int step);
    // Hours a week saved at this many hours of typing a day.
    static int savedHoursPerWeek(double typingHoursPerDay);
    // How many times faster than typing, to one decimal.
    static double speedFactor(std::optional<int> wordsPerMinute);

    int step() const;
    QStringList sections() const;
    int section() const { return sectionOf(step()); }
    bool backVisible() const;
    QString ctaTitle() const;
    bool ctaArrow() const;
    bool ctaDimmed() const;
    bool skipShown() const;
    bool shake() const;
    QVariantMap copy() const;
    QVariantList sourceChips() const;
    QVariantList roleChips() const;
    QVariantList contextChips() const;
    QVariantList storageCards() const;
    QVariantList permissionRows() const;
    QVariantList hotkeyChoices() const;
    QString keyLabel() const;
    QString holdHint() const;
    bool holdActive() const;
    QList<qreal> levelBars() const { return m_levelBars; }
    QStringList languageChips() const;
    bool autoDetectBadge() const;
    QString learnPlaceholder() const;
    QString learnInstruction() const;
    bool learnDone() const;
    QString savedHours() const;
    QString typingHoursText() const;
    QString voiceWpm() const;
    QString factorText() const;
    QString welcomeHeading() const;
    QString pillLine() const;
    QString trustedLine() const;
    QString learnHeading() const;
    QString savingsLine() const;
    QString voiceLine() const;
    QString typingLine() const;
    QString factorLine() const;

    Q_INVOKABLE void chooseHotkey(int index);
    Q_INVOKABLE void openLanguages();

Q_SIGNALS:
    void changed();
    void levelBarsChanged();
    void languagePickerChanged();

private:
    void followMicrophone();
    void tickLevel();
    void closeLanguages();
    QString text(const char* key) const;
    QString accented(const QString& text) const;

    OnboardingModel& m_model;
    Services m_services;
    InviteScreen* m_invite;
    QPointer<LanguagePickerModal> m_picker;
    TimerHandle m_levelTick;
    int m_levelTicks = 0;
    QList<qreal> m_levelBars;
    QString m_sessionNote;

    QColor m_backgroundColor{250, 250, 252};
    QColor m_cardColor{255, 255, 255};
    QColor m_textColor{29, 29, 31};
    QColor m_secondaryColor{110, 110, 118};
    QColor m_accentColor{47, 111, 235};
    QColor m_accentTextColor{255, 255, 255};
    QColor m_lineColor{222, 222, 228};
    QColor m_doneColor{52, 168, 83};
    QColor m_chipOnColor{232, 240, 254};
    QColor m_warningColor{196, 120, 0};
    // Claude, ChatGPT and Cursor on the typing screen.
    QList<QColor> m_brandColors{{217, 119, 87}, {16, 163, 127}, {59, 123, 224}};
};
