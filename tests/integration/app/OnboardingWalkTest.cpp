#include "app/MurmoApp.h"
#include "core/DictationController.h"
#include "support/RunningBackend.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"
#include "support/XTestPointer.h"
#include "ui/OnboardingView.h"

#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::RunningBackend;
using murmo::test::spokenWav;
using murmo::test::waitUntil;
using murmo::test::XTestKeyboard;
using murmo::test::XTestPointer;

namespace {

constexpr int superR = 134;

QQuickWindow* onboardingWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->property("onboarding").value<OnboardingView*>() && window->isVisible())
            return qobject_cast<QQuickWindow*>(window);
    }
    return nullptr;
}

// Speech playing into the virtual microphone while the test goes on.
class Speaker
{
public:
    explicit Speaker(const QString& text)
    {
        QFile file(m_dir.filePath(u"speech.wav"_s));
        file.open(QIODevice::WriteOnly);
        file.write(spokenWav(text));
        file.close();
        m_player.start(u"paplay"_s, {file.fileName()});
    }
    ~Speaker()
    {
        waitUntil([&] { return !playing(); }, 30s);
    }
    bool playing() const { return m_player.state() != QProcess::NotRunning; }

private:
    QTemporaryDir m_dir;
    QProcess m_player;
};

// A new user, in a home of their own, with Murmo running in this process against
// murmo-backend on a loopback port.
class OnboardingWalkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto& [name, folder] : {std::pair{"XDG_CONFIG_HOME", u"config"_s},
                                           {"XDG_DATA_HOME", u"data"_s},
                                           {"XDG_CACHE_HOME", u"cache"_s}})
            qputenv(name, home.filePath(folder).toLocal8Bit());
        ASSERT_TRUE(backend.url().isValid()) << "murmo-backend did not start";
        murmo = std::make_unique<MurmoApp>(backend.url(), QString());
        murmo->applicationDidFinishLaunching();
        ASSERT_TRUE(
            waitUntil([&] { return onboardingWindow() && onboardingWindow()->isExposed(); }, 10s));
        window = onboardingWindow();
        view = window->property("onboarding").value<OnboardingView*>();
        model = view->model();
    }

    // The visible item of the current screen called `name`.
    QQuickItem* item(const char* name) const { return find(window->contentItem(), name); }
    static QQuickItem* find(QQuickItem* under, const char* name)
    {
        for (QQuickItem* child : under->childItems()) {
            if (!child->isVisible())
                continue;
            if (child->objectName() == QLatin1String(name))
                return child;
            if (QQuickItem* found = find(child, name))
                return found;
        }
        return nullptr;
    }
    void click(QQuickItem* target)
    {
        const QPointF centre = target->mapToGlobal(target->boundingRect().center());
        pointer.moveTo(centre.toPoint());
        pointer.click();
    }
    bool reaches(ObStep step)
    {
        return waitUntil([&] { return model->step() == step; }, 10s);
    }
    // Whether the level bars rise above rest while `speaker` plays.
    bool barsRise(const Speaker& speaker)
    {
        return waitUntil(
                   [&] {
                       const auto bars = view->levelBars();
                       return *std::max_element(bars.begin(), bars.end()) > 0.6 ||
                              !speaker.playing();
                   },
                   20s) &&
               speaker.playing();
    }
    QJsonObject preferences() const
    {
        QFile file(home.filePath(u"config/Murmo/preferences.json"_s));
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QTemporaryDir home;
    RunningBackend backend{home.filePath(u"backend.sqlite3"_s)};
    std::unique_ptr<MurmoApp> murmo;
    QQuickWindow* window = nullptr;
    OnboardingView* view = nullptr;
    OnboardingModel* model = nullptr;
    XTestKeyboard keyboard;
    XTestPointer pointer;
};

TEST_F(OnboardingWalkTest, ThirteenStepsWithRealKeysAndSpeech)
{
    EXPECT_EQ(window->size(), QSize(1200, 764));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";

    click(item("mainButton"));
    ASSERT_TRUE(reaches(ObStep::source)) << "Get started";
    click(item("mainButton"));
    EXPECT_TRUE(waitUntil([&] { return model->shake(); }, 5s)) << "nothing chosen yet";
    model->chooseSource(u"Podcast"_s);
    model->advance();
    model->chooseRole(u"Developer"_s);
    model->advance();
    model->toggleContext(u"Notes"_s);
    model->advance();
    model->advance();
    ASSERT_EQ(model->step(), ObStep::perms);
    // X11 trusts every client; the virtual microphone is the default input.
    ASSERT_TRUE(waitUntil([&] { return model->canContinue(); }, 10s));
    model->advance();

    ASSERT_EQ(model->step(), ObStep::micTest);
    {
        Speaker speaker(u"Testing my microphone, one, two, three, four, five."_s);
        EXPECT_TRUE(barsRise(speaker)) << "blue bars while speaking";
    }
    model->advance();

    ASSERT_EQ(model->step(), ObStep::shortcut);
    window->requestActivate();
    ASSERT_TRUE(waitUntil([&] { return window->isActive(); }, 10s));
    keyboard.press(superR);
    ASSERT_TRUE(waitUntil([&] { return view->holdActive(); }, 10s)) << "the pill lights up";
    {
        Speaker speaker(u"Hold to talk and release to insert the words."_s);
        EXPECT_TRUE(barsRise(speaker));
    }
    keyboard.release(superR);
    ASSERT_TRUE(waitUntil([&] { return !view->holdActive(); }, 10s));
    model->advance();

    ASSERT_EQ(model->step(), ObStep::languages);
    view->openLanguages();
    view->languagePicker()->toggle(u"de"_s);
    view->languagePicker()->setAutoDetect(false);
    view->languagePicker()->save();
    EXPECT_EQ(preferences().value(u"murmo.mac.speakLang"_s).toString(), QString());
    model->advance();

    ASSERT_EQ(model->step(), ObStep::learn);
    QQuickItem* field = item("learnField");
    ASSERT_TRUE(field);
    click(field);
    ASSERT_TRUE(waitUntil([&] { return field->hasActiveFocus(); }, 10s));
    keyboard.press(superR);
    ASSERT_TRUE(waitUntil(
        [&] { return murmo->controller().phase().kind() == Phase::Kind::recording; }, 10s));
    {
        Speaker speaker(u"Please post the launch update to the product channel this afternoon."_s);
    }
    keyboard.release(superR);
    ASSERT_TRUE(waitUntil([&] { return model->learnDone(); }, 60s)) << "the dictation lands";
    const QString reply = model->learnText().toLower();
    EXPECT_TRUE(reply.contains(u"launch"_s) || reply.contains(u"product"_s) ||
                reply.contains(u"afternoon"_s))
        << qPrintable(reply);
    // The text is in the field a moment before the dictation is recorded.
    ASSERT_TRUE(waitUntil(
        [&] { return murmo->controller().phase().kind() != Phase::Kind::processing; }, 10s));
    model->advance();
    model->advance();

    ASSERT_EQ(model->step(), ObStep::nicejob);
    EXPECT_TRUE(model->lastWpm().has_value()) << "measured on the practice dictation";
    model->advance();

    ASSERT_EQ(model->step(), ObStep::invite);
    view->invite()->setEmail(u"  Friend@Example.com"_s);
    click(item("sendButton"));
    ASSERT_TRUE(waitUntil([&] { return !view->invite()->message().isEmpty(); }, 20s));
    EXPECT_EQ(view->invite()->message(),
              u"Invite on its way to friend@example.com — add another?"_s);

    click(item("mainButton"));
    ASSERT_TRUE(waitUntil([&] { return !onboardingWindow(); }, 10s)) << "Start using Murmo";
    EXPECT_FALSE(murmo->controller().onboardingActive());
    const QJsonObject stored = preferences();
    EXPECT_TRUE(stored.value(u"murmo.mac.onboarded"_s).toBool());
    EXPECT_EQ(stored.value(u"murmo.mac.source"_s).toString(), u"Podcast"_s);
}

} // namespace
