#include "app/OnboardingScene.h"

#include "history/HistoryStore.h"
#include "onboarding/OnboardingModel.h"
#include "ui/OnboardingView.h"
#include "ui/QuickAppWindow.h"
#include "ui/ViewHost.h"

#include <QLocale>
#include <QQuickWindow>

using namespace Qt::StringLiterals;

OnboardingScene::OnboardingScene(const Services& services)
    : m_services(services)
{}

std::unique_ptr<AppWindow> OnboardingScene::createWindow(DictationController& controller,
                                                         const WindowLayout& layout)
{
    HistoryStore& history = m_services.history;
    auto model = std::make_unique<OnboardingModel>(
        &controller,
        OnboardingModel::Services{m_services.scheduler, m_services.preferences, m_services.trust,
                                  m_services.microphone, m_services.recorder, m_services.keys,
                                  m_services.backend,
                                  [&history] {
                                      return history.items().isEmpty()
                                                 ? std::nullopt
                                                 : std::optional(history.items().front());
                                  },
                                  QLocale::system().uiLanguages()});
    // The view is the model's child, so the window owns both through the model.
    auto* view = new OnboardingView(*model,
                                    {m_services.scheduler, m_services.backend, m_services.level,
                                     m_services.sessionLimitation()},
                                    model.get());
    auto window = m_services.views.createWindow(
        u"OnboardingWindow"_s,
        {{u"onboarding"_s, QVariant::fromValue(view)},
         {u"contentSize"_s, layout.content},
         {u"title"_s, layout.title.isEmpty() ? u"Welcome to Murmo"_s : layout.title}});
    return std::make_unique<QuickAppWindow>(std::move(window), std::move(model));
}
