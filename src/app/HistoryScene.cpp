#include "app/HistoryScene.h"

#include "ui/HistoryWindowModel.h"
#include "ui/QuickAppWindow.h"
#include "ui/ViewHost.h"

#include <QQuickWindow>

using namespace Qt::StringLiterals;

HistoryScene::HistoryScene(ViewHost& views, HistoryStore& store, Pasteboard& pasteboard,
                           Scheduler& scheduler, QObject* parent)
    : QObject(parent)
    , m_views(views)
    , m_store(store)
    , m_pasteboard(pasteboard)
    , m_scheduler(scheduler)
{}

HistoryScene::~HistoryScene() = default;

void HistoryScene::show()
{
    if (!m_window) {
        auto model = std::make_unique<HistoryWindowModel>(m_store, m_pasteboard, m_scheduler);
        m_model = model.get();
        auto window = m_views.createWindow(u"HistoryWindow"_s,
                                           {{u"history"_s, QVariant::fromValue(m_model)}});
        m_window = std::make_unique<QuickAppWindow>(std::move(window), std::move(model));
        connect(m_window.get(), &AppWindow::closing, this, &HistoryScene::onClosing);
    }
    m_window->present();
    m_model->shown();
}

void HistoryScene::onClosing()
{
    if (!m_window || sender() != m_window.get())
        return;
    m_model = nullptr;
    // The window is still delivering its own signal: let the event loop delete it.
    m_window.release()->deleteLater();
}
