#include "ui/ViewHost.h"

#include "ui/SymbolProvider.h"

#include <QQmlComponent>
#include <QQuickWindow>

using namespace Qt::StringLiterals;

ViewHost::ViewHost()
{
    m_engine.addImportPath(u"qrc:/qt/qml"_s);
    m_engine.addImageProvider(u"symbol"_s, new SymbolProvider);
}

ViewHost::~ViewHost() = default;

std::unique_ptr<QQuickWindow> ViewHost::createWindow(const QString& name,
                                                     const QVariantMap& properties)
{
    QQmlComponent component(&m_engine, QUrl(u"qrc:/qt/qml/Murmo/Ui/"_s + name + u".qml"_s));
    std::unique_ptr<QObject> created;
    if (component.isReady())
        created.reset(component.createWithInitialProperties(properties));
    auto* window = qobject_cast<QQuickWindow*>(created.get());
    // The views are compiled into the program: one that does not load is a build fault.
    if (!window)
        qFatal("view %s did not load: %s", qPrintable(name), qPrintable(component.errorString()));
    created.release();
    return std::unique_ptr<QQuickWindow>(window);
}
