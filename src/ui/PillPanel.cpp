#include "ui/PillPanel.h"

#include "core/DictationController.h"
#include "platform/PanelWindowing.h"
#include "platform/ScreenLayout.h"
#include "platform/WindowList.h"
#include "ui/PillModel.h"
#include "ui/PillPlacement.h"
#include "ui/ViewHost.h"

#include <QCoreApplication>
#include <QMenu>
#include <QQuickWindow>
#include <QRegion>

using namespace Qt::StringLiterals;

namespace {

// The capsule as the compositor's blur wants it: rectangles that follow the round ends.
QList<QRect> roundedRegion(const QRect& capsule)
{
    const int diameter = capsule.height();
    QRegion region(capsule.adjusted(diameter / 2, 0, -diameter / 2, 0));
    region += QRegion(QRect(capsule.topLeft(), QSize(diameter, diameter)), QRegion::Ellipse);
    region +=
        QRegion(QRect(capsule.topRight() - QPoint(diameter - 1, 0), QSize(diameter, diameter)),
                QRegion::Ellipse);
    return {region.begin(), region.end()};
}

} // namespace

PillPanel::PillPanel(DictationController& controller, std::function<qreal()> level,
                     const Services& services)
    : m_services(services)
    , m_model(std::make_unique<PillModel>(controller, std::move(level), services.clock,
                                          services.scheduler))
    , m_window(services.views.createWindow(u"PillWindow"_s,
                                           {{u"pill"_s, QVariant::fromValue(m_model.get())}}))
{
    updateRegions();
    connect(m_model.get(), &PillModel::lookChanged, this, &PillPanel::updateRegions);
    connect(m_model.get(), &PillModel::capsuleWidthChanged, this, &PillPanel::updateRegions);
    connect(m_model.get(), &PillModel::menuRequested, this, &PillPanel::showMenu);

    m_move.setDuration(int(moveDuration.count()));
    m_move.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_move, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { m_window->setPosition(value.toPoint()); });

    m_observer = m_services.workspace.addObserver([this](WorkspaceEvents::Change change) {
        reposition(change != WorkspaceEvents::Change::screens);
    });
    m_poll = m_services.scheduler.runEvery(pollInterval, [this] { reposition(true); });
}

PillPanel::~PillPanel()
{
    m_services.workspace.removeObserver(m_observer);
}

void PillPanel::reposition(bool animated)
{
    const auto target = PillPlacement::target(
        m_services.screens.screens(), m_services.screens.mousePosition(),
        m_services.windows.visibleWindows(), QCoreApplication::applicationPid());
    if (!target || PillPlacement::isCloseEnough(destination(), *target))
        return;
    moveTo(*target, animated && m_window->isVisible());
}

void PillPanel::orderFront()
{
    // Window managers may drop a hidden window's states, so they are set for every showing.
    if (!m_window->isVisible())
        m_services.windowing.makeFloating(m_window->winId());
    m_window->show();
    m_window->raise();
}

void PillPanel::orderOut()
{
    m_window->hide();
}

void PillPanel::moveTo(QPoint target, bool animated)
{
    m_move.stop();
    if (!animated) {
        m_window->setPosition(target);
        return;
    }
    m_move.setStartValue(m_window->position());
    m_move.setEndValue(target);
    m_move.start();
}

// Where the panel is, or is on its way to.
QPoint PillPanel::destination() const
{
    if (m_move.state() == QAbstractAnimation::Running)
        return m_move.endValue().toPoint();
    return m_window->position();
}

void PillPanel::updateRegions()
{
    const QRect capsule =
        PillPlacement::capsuleRect(m_model->capsuleWidth(), PillLook::capsuleHeight);
    if (capsule != m_inputRegion) {
        m_inputRegion = capsule;
        m_services.windowing.setInputRegion(m_window->winId(), {capsule});
    }
    const QList<QRect> blur = m_model->look().expanded ? roundedRegion(capsule) : QList<QRect>{};
    if (blur != m_blurRegion) {
        m_blurRegion = blur;
        m_services.windowing.setBlurRegion(m_window->winId(), blur);
    }
}

void PillPanel::showMenu()
{
    if (!m_menu) {
        m_menu = std::make_unique<QMenu>();
        m_menu->addAction(u"Hide for 1 hour"_s, m_model.get(), &PillModel::hideForAnHour);
        m_menu->addSeparator();
        m_menu->addAction(u"Quit Murmo"_s, QCoreApplication::instance(), &QCoreApplication::quit);
    }
    m_menu->popup(m_services.screens.mousePosition());
}
