#include "ui/OnboardingView.h"

#include "onboarding/OnboardingModel.h"
#include "onboarding/OnboardingOptions.h"
#include "onboarding/SpokenLanguages.h"
#include "platform/Scheduler.h"
#include "preferences/Hotkey.h"
#include "ui/InviteScreen.h"
#include "ui/LanguagePickerModal.h"
#include "ui/WaveHeights.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int averageTypingWpm = 50;
constexpr double factorWithoutDictation = 2.4;
constexpr double typingDaysPerWeek = 4.2;

QVariantMap chip(const QString& label, const QString& symbol, bool on)
{
    return {{u"label"_s, label}, {u"symbol"_s, symbol}, {u"on"_s, on}};
}

// Styled text, with the line breaks it understands.
QString styled(const QString& plain)
{
    return plain.toHtmlEscaped().replace(u'\n', u"<br>"_s);
}

QString bold(const QString& plain)
{
    return u"<b>"_s + styled(plain) + u"</b>"_s;
}

QList<qreal> restingBars()
{
    return QList<qreal>(WaveHeights::barCount, WaveHeights::resting);
}

const QVariantMap& fixedTexts()
{
    static const QVariantMap texts{
        {u"welcome.title"_s, u"Say more than\nyou can "_s},
        {u"welcome.emphasis"_s, u"type"_s},
        {u"welcome.subtitle"_s,
         u"Write faster in every app — in your own voice. Speak naturally, get clean text."_s},
        {u"welcome.reassurance"_s, u"No account, no sign-up. Your words stay yours."_s},
        {u"welcome.to"_s, u"To:"_s},
        {u"welcome.subject"_s, u"Subject:"_s},
        {u"welcome.body"_s,
         u"Hey! I found a way to work way faster — it's called Murmo. Have you heard of them? "
         u"You should really try it. I dictated this whole message with it, by the way."_s},
        {u"welcome.pillLead"_s, u"Just speak — "_s},
        {u"welcome.pillTail"_s, u"get clean text."_s},
        {u"source.title"_s, u"Where did you\nhear about us?"_s},
        {u"source.subtitle"_s, u"Helps us find more people like you."_s},
        {u"about.title"_s, u"Tell us about yourself"_s},
        {u"about.question"_s, u"What do you do for work?"_s},
        {u"about.trustedLead"_s, u"Trusted by "_s},
        {u"about.trustedCount"_s, u"1,000,000+"_s},
        {u"about.trustedTail"_s, u" people like you"_s},
        {u"about.quote"_s, u"“I barely touch my keyboard anymore. Voice-to-text with Cursor & "
                           u"Claude has 10× my output.”"_s},
        {u"typing.title"_s, u"Where do you spend\ntime typing?"_s},
        {u"typing.subtitle"_s, u"Helps Murmo tune tone where you work. Pick all that apply."_s},
        {u"typing.tools"_s, QStringList{u"Claude"_s, u"ChatGPT"_s, u"Cursor"_s}},
        {u"typing.toolSymbols"_s, QStringList{u"sparkles"_s, u"circle.lefthalf.filled"_s,
                                              u"chevron.left.forwardslash.chevron.right"_s}},
        {u"data.title"_s, u"You control your data"_s},
        {u"data.note"_s, u"You can change this anytime in Settings."_s},
        {u"perms.title"_s, u"Give Murmo permission\non this computer"_s},
        {u"perms.note"_s, u"Grant both to continue."_s},
        {u"perms.allow"_s, u"Allow"_s},
        {u"perms.dialogTitle"_s, u"“Murmo” would like to access\nthe microphone"_s},
        {u"perms.dialogBody"_s, u"Murmo needs your microphone to transcribe speech into text."_s},
        {u"perms.dialogDeny"_s, u"Don't Allow"_s},
        {u"perms.dialogAllow"_s, u"Allow"_s},
        {u"micTest.title"_s, u"Test your microphone"_s},
        {u"micTest.subtitle"_s, u"Say something out loud — built-in or wired mics work best."_s},
        {u"micTest.question"_s, u"Do you see blue bars while you speak?"_s},
        {u"shortcut.title"_s, u"Test the shortcut"_s},
        {u"shortcut.subtitle"_s,
         u"Hold to talk, release to insert. Pick the key that feels right."_s},
        {u"shortcut.question"_s, u"Does the pill light up while you hold it?"_s},
        {u"languages.title"_s, u"Set all the languages you speak"_s},
        {u"languages.subtitle"_s,
         u"Murmo works in 100+ languages — and can translate as you speak."_s},
        {u"languages.selected"_s, u"Your selected languages"_s},
        {u"languages.change"_s, u"Change languages"_s},
        {u"languages.autoDetect"_s, u"Auto-detect on"_s},
        {u"learn.titleLead"_s, u"Use "_s},
        {u"learn.titleBrand"_s, u"Murmo"_s},
        {u"learn.titleTail"_s, u" to reply"_s},
        {u"learn.channel"_s, u"Slack — #product"_s},
        {u"learn.colleague"_s, u"Priya"_s},
        {u"learn.message"_s, u"Can you post the launch update?"_s},
        {u"learn.wellDone"_s, u"Well done!"_s},
        {u"hours.lead"_s, u"With Murmo you could save"_s},
        {u"hours.unit"_s, u" hours "_s},
        {u"hours.tail"_s, u"a week!"_s},
        {u"hours.slider"_s, u"Typing time / day"_s},
        {u"nicejob.title"_s, u"Nice job!"_s},
        {u"nicejob.lead"_s, u"You just spoke"_s},
        {u"nicejob.voice"_s, u"YOUR VOICE"_s},
        {u"nicejob.typing"_s, u"AVG TYPING SPEED"_s},
        {u"nicejob.typingWpm"_s, QString::number(averageTypingWpm)},
        {u"nicejob.unit"_s, u" words / min"_s},
        {u"nicejob.faster"_s, u"faster!"_s},
        {u"invite.gift"_s, u"INVITE"_s},
        {u"invite.brand"_s, u"Murmo"_s},
        {u"invite.tagline"_s, u"Talk. Don't type."_s},
        {u"invite.pitch"_s, u"Voice to clean text, in every app."_s},
        {u"footer.back"_s, u"Back"_s},
        {u"footer.skip"_s, u"Skip"_s},
    };
    return texts;
}

} // namespace

OnboardingView::OnboardingView(OnboardingModel& model, const Services& services, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_services(services)
    , m_invite(new InviteScreen(services.backend, services.scheduler, this))
    , m_levelBars(restingBars())
    , m_sessionNote(services.sessionNote)
{
    for (auto signal :
         {&OnboardingModel::stepChanged, &OnboardingModel::canContinueChanged,
          &OnboardingModel::sourceChanged, &OnboardingModel::roleChanged,
          &OnboardingModel::typingContextsChanged, &OnboardingModel::storageChanged,
          &OnboardingModel::permissionsChanged, &OnboardingModel::languagesChanged,
          &OnboardingModel::holdActiveChanged, &OnboardingModel::learnDoneChanged,
          &OnboardingModel::lastWpmChanged, &OnboardingModel::typingHoursPerDayChanged,
          &OnboardingModel::shakeChanged, &OnboardingModel::hotkeyChanged})
        connect(&model, signal, this, &OnboardingView::changed);
    connect(&model, &OnboardingModel::stepChanged, this, &OnboardingView::followMicrophone);
    connect(&model, &OnboardingModel::holdActiveChanged, this, &OnboardingView::followMicrophone);
}

OnboardingView::~OnboardingView() = default;

int OnboardingView::sectionOf(int step)
{
    if (step <= 0)
        return 0;
    if (step <= 3)
        return 1;
    if (step <= 6)
        return 2;
    if (step <= 8)
        return 3;
    return 4;
}

int OnboardingView::savedHoursPerWeek(double typingHoursPerDay)
{
    return static_cast<int>(std::lround(typingHoursPerDay * typingDaysPerWeek));
}

double OnboardingView::speedFactor(std::optional<int> wordsPerMinute)
{
    if (!wordsPerMinute)
        return factorWithoutDictation;
    return std::round(*wordsPerMinute / double(averageTypingWpm) * 10) / 10;
}

int OnboardingView::step() const
{
    return m_model.stepIndex();
}

QStringList OnboardingView::sections() const
{
    return {u"SIGN UP"_s, u"ABOUT YOU"_s, u"PERMISSIONS"_s, u"SET UP"_s, u"LEARN"_s};
}

bool OnboardingView::backVisible() const
{
    return m_model.step() != ObStep::welcome;
}

QString OnboardingView::ctaTitle() const
{
    switch (m_model.step()) {
    case ObStep::welcome:
        return u"Get started"_s;
    case ObStep::invite:
        return u"Start using Murmo"_s;
    default:
        return u"Continue"_s;
    }
}

bool OnboardingView::ctaArrow() const
{
    return m_model.step() != ObStep::invite;
}

bool OnboardingView::ctaDimmed() const
{
    return !m_model.canContinue();
}

bool OnboardingView::skipShown() const
{
    return m_model.step() == ObStep::learn;
}

bool OnboardingView::shake() const
{
    return m_model.shake();
}

QVariantMap OnboardingView::copy() const
{
    return fixedTexts();
}

QVariantList OnboardingView::sourceChips() const
{
    QVariantList chips;
    for (const QString& label : OnboardingOptions::sources())
        chips.append(chip(label, {}, m_model.isSelectedSource(label)));
    return chips;
}

QVariantList OnboardingView::roleChips() const
{
    QVariantList chips;
    for (const QString& label : OnboardingOptions::roles())
        chips.append(chip(label, {}, m_model.isSelectedRole(label)));
    return chips;
}

QVariantList OnboardingView::contextChips() const
{
    QVariantList chips;
    for (const auto& option : OnboardingOptions::typingContexts())
        chips.append(chip(option.label, option.symbol, m_model.isSelectedContext(option.label)));
    return chips;
}

QVariantList OnboardingView::storageCards() const
{
    const auto card = [](const QString& title, const QString& detail, bool on) {
        return QVariantMap{{u"title"_s, title},
                           {u"detail"_s, detail},
                           {u"symbol"_s, on ? u"largecircle.fill.circle"_s : u"circle"_s},
                           {u"on"_s, on}};
    };
    const bool cloud = m_model.cloudSync();
    return {card(u"Cloud sync"_s,
                 u"Your history moves with your phone and any new computer automatically — "
                 u"through your own cloud folder. We can't read it."_s,
                 cloud),
            card(u"On-device only"_s,
                 u"Nothing leaves this computer. If you switch devices, your history stays "
                 u"behind — a fresh start."_s,
                 !cloud)};
}

QVariantList OnboardingView::permissionRows() const
{
    const auto row = [](const QString& title, const QString& detail, bool granted,
                        const QString& help) {
        return QVariantMap{{u"title"_s, title},
                           {u"detail"_s, detail},
                           {u"granted"_s, granted},
                           {u"help"_s, granted ? QString() : help}};
    };
    return {
        row(u"Murmo can paste text anywhere"_s,
            u"Accessibility — places text in the right field."_s, m_model.axGranted(),
            u"This desktop does not let Murmo watch the hold key or paste. Log in to an X11 "
            u"session, or see Allow for what else works."_s),
        row(u"Allow Murmo to use your microphone"_s,
            u"Murmo only listens while you actively hold the shortcut."_s, m_model.micGranted(),
            u"No microphone found — plug one in, or choose an input in your sound settings."_s)};
}

QVariantList OnboardingView::hotkeyChoices() const
{
    QVariantList choices;
    for (const Hotkey key : Hotkeys::all)
        choices.append(QVariantMap{{u"label"_s, Hotkeys::forLinuxKeyboard(Hotkeys::keyLabel(key))},
                                   {u"on"_s, key == m_model.hotkey()}});
    return choices;
}

QString OnboardingView::keyLabel() const
{
    return Hotkeys::forLinuxKeyboard(Hotkeys::keyLabel(m_model.hotkey()));
}

QString OnboardingView::holdHint() const
{
    return u"Try it right here — hold your "_s + keyLabel() + u" key"_s;
}

bool OnboardingView::holdActive() const
{
    return m_model.holdActive();
}

QStringList OnboardingView::languageChips() const
{
    QStringList labels;
    for (const QString& code : m_model.speakLangs())
        labels.append(SpokenLanguages::displayLabel(code));
    return labels;
}

bool OnboardingView::autoDetectBadge() const
{
    return m_model.autoDetect();
}

QString OnboardingView::learnPlaceholder() const
{
    return u"Click here, hold "_s + keyLabel() + u" and speak…"_s;
}

QString OnboardingView::learnInstruction() const
{
    return u"Click into the field, hold "_s + keyLabel() + u", speak — then release."_s;
}

bool OnboardingView::learnDone() const
{
    return m_model.learnDone();
}

QString OnboardingView::savedHours() const
{
    return QString::number(savedHoursPerWeek(m_model.typingHoursPerDay()));
}

QString OnboardingView::typingHoursText() const
{
    return QString::number(std::lround(m_model.typingHoursPerDay())) + u" hours"_s;
}

QString OnboardingView::voiceWpm() const
{
    const auto wpm = m_model.lastWpm();
    return wpm ? QString::number(*wpm) : u"—"_s;
}

QString OnboardingView::factorText() const
{
    return QString::asprintf("%.1f", speedFactor(m_model.lastWpm())) + u"× "_s;
}

QString OnboardingView::text(const char* key) const
{
    return fixedTexts().value(QString::fromLatin1(key)).toString();
}

QString OnboardingView::accented(const QString& text) const
{
    return u"<font color=\""_s + m_accentColor.name() + u"\">"_s + text + u"</font>"_s;
}

QString OnboardingView::welcomeHeading() const
{
    return styled(text("welcome.title")) + u"<i>"_s + accented(styled(text("welcome.emphasis"))) +
           u"</i>"_s;
}

QString OnboardingView::pillLine() const
{
    return styled(text("welcome.pillLead")) + bold(text("welcome.pillTail"));
}

QString OnboardingView::trustedLine() const
{
    return styled(text("about.trustedLead")) + bold(text("about.trustedCount")) +
           styled(text("about.trustedTail"));
}

QString OnboardingView::learnHeading() const
{
    return styled(text("learn.titleLead")) + accented(styled(text("learn.titleBrand"))) +
           styled(text("learn.titleTail"));
}

QString OnboardingView::savingsLine() const
{
    return accented(styled(savedHours() + text("hours.unit"))) + styled(text("hours.tail"));
}

QString OnboardingView::voiceLine() const
{
    return bold(voiceWpm()) + styled(text("nicejob.unit"));
}

QString OnboardingView::typingLine() const
{
    return bold(text("nicejob.typingWpm")) + styled(text("nicejob.unit"));
}

QString OnboardingView::factorLine() const
{
    return bold(factorText()) + styled(text("nicejob.faster"));
}

void OnboardingView::chooseHotkey(int index)
{
    if (index >= 0 && index < int(Hotkeys::all.size()))
        m_model.chooseHotkey(Hotkeys::all[std::size_t(index)]);
}

void OnboardingView::openLanguages()
{
    if (m_picker)
        return;
    m_picker = new LanguagePickerModal(
        m_model.speakLangs(), m_model.autoDetect(),
        [this](const QStringList& codes, bool autoDetect) {
            m_model.saveLanguages(codes, autoDetect);
        },
        [this] { closeLanguages(); }, this);
    Q_EMIT languagePickerChanged();
}

void OnboardingView::closeLanguages()
{
    if (!m_picker)
        return;
    // The sheet closes itself from one of its own buttons.
    m_picker->deleteLater();
    m_picker = nullptr;
    Q_EMIT languagePickerChanged();
}

void OnboardingView::followMicrophone()
{
    const bool listening = m_model.step() == ObStep::micTest ||
                           (m_model.step() == ObStep::shortcut && m_model.holdActive());
    if (!listening) {
        m_levelTick.cancel();
        m_levelBars = restingBars();
        Q_EMIT levelBarsChanged();
        return;
    }
    m_levelTick = m_services.scheduler.runEvery(levelStep, [this] { tickLevel(); });
}

void OnboardingView::tickLevel()
{
    ++m_levelTicks;
    const auto bars = WaveHeights::at(
        m_services.level(), m_levelTicks * std::chrono::duration<qreal>(levelStep).count());
    m_levelBars = QList<qreal>(bars.begin(), bars.end());
    Q_EMIT levelBarsChanged();
}
