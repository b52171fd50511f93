#include "ui/NavRail.h"

using namespace Qt::StringLiterals;

QVariantList NavRail::sections()
{
    const auto section = [](const QString& label, const QString& symbol) {
        return QVariantMap{{u"label"_s, label}, {u"symbol"_s, symbol}};
    };
    return {section(u"Home"_s, u"house.fill"_s), section(u"History"_s, u"clock.arrow.circlepath"_s),
            section(u"Insights"_s, u"chart.bar.fill"_s), section(u"Settings"_s, u"gearshape"_s)};
}

void NavRail::setCurrent(NavSection section)
{
    if (section == m_current)
        return;
    m_current = section;
    Q_EMIT currentChanged();
}

void NavRail::setCurrentIndex(int index)
{
    if (index >= int(NavSection::home) && index <= int(NavSection::settings))
        setCurrent(NavSection(index));
}
