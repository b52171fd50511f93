#include "ui/NudgePanel.h"

#include "platform/PanelWindowing.h"
#include "platform/ScreenLayout.h"
#include "ui/NudgeModel.h"
#include "ui/NudgePlacement.h"
#include "ui/ViewHost.h"

#include <QQuickWindow>

using namespace Qt::StringLiterals;

NudgePanel::NudgePanel(NudgeState& state, const QString& keyLabel, std::function<void()> onDismiss,
                       const Services& services)
    : m_services(services)
    , m_model(
          std::make_unique<NudgeModel>(state, keyLabel, std::move(onDismiss), services.scheduler))
    , m_window(services.views.createWindow(u"NudgeWindow"_s,
                                           {{u"nudge"_s, QVariant::fromValue(m_model.get())}}))
{}

NudgePanel::~NudgePanel()
{
    m_window->hide();
}

void NudgePanel::present()
{
    // The view has sized the window to the card and its shadow.
    const QSize size = m_window->size();
    if (const auto origin = NudgePlacement::origin(m_services.screens.screens(), size))
        m_window->setPosition(*origin);
    const auto id = m_window->winId();
    m_services.windowing.makeFloating(id);
    // Clicks beside the card, on its shadow, reach the windows below.
    m_services.windowing.setInputRegion(id, {NudgePlacement::cardRect(size)});
    m_window->show();
    m_window->raise();
}
