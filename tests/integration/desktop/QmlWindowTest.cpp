#include <QColor>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QScreen>

#include <gtest/gtest.h>

#include "support/WaitUntil.h"

#include <memory>

using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

// A dark window with a green rectangle in its middle, so a grab tells them apart.
constexpr auto kScene = R"(
import QtQuick
import QtQuick.Window

Window {
    width: 240
    height: 160
    visible: true
    color: "#202020"

    Rectangle {
        anchors.centerIn: parent
        width: 120
        height: 80
        color: "#3cb371"
    }
}
)";

// What the X server holds for the window, as a screenshot would show it.
QImage grabFromServer(QQuickWindow& window)
{
    return window.screen()->grabWindow(window.winId()).toImage();
}

TEST(QmlWindowTest, DrawsTheSceneIntoAnExposedWindowOnTheVirtualScreen)
{
    QQmlApplicationEngine engine;
    engine.loadData(kScene);
    ASSERT_EQ(engine.rootObjects().size(), 1);
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().constFirst());
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(waitUntil([&] { return window->isExposed(); })) << "the window was never exposed";
    EXPECT_EQ(window->screen()->size(), QSize(1280, 800));

    const QColor green(u"#3cb371"_s);
    const QColor background(u"#202020"_s);
    // The first frame reaches the server some time after exposure; poll until it is there.
    QImage image;
    const auto middle = [&] { return QPoint(image.width() / 2, image.height() / 2); };
    const bool drawn = waitUntil([&] {
        image = grabFromServer(*window);
        return !image.isNull() && image.pixelColor(middle()) == green;
    });

    ASSERT_FALSE(image.isNull()) << "grabbing the window from the X server failed";
    EXPECT_TRUE(drawn) << "middle pixel is " << image.pixelColor(middle()).name().toStdString();
    EXPECT_EQ(image.size(), window->size() * window->devicePixelRatio());
    EXPECT_EQ(image.pixelColor(3, 3), background);
    EXPECT_EQ(image.pixelColor(image.width() - 4, image.height() - 4), background);
}

// Debian splits QML modules into packages that do not pull in what they import themselves;
// a missing one only shows when a view loads.
TEST(QmlWindowTest, ModulesTheViewsImportAreInstalled)
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(R"(
import QtQuick
import QtQuick.Window
import QtQuick.Controls
import QtQuick.Layouts
import QtMultimedia

ColumnLayout {
    Label { text: "Label" }
    Button { text: "Button" }
    Switch {}
    ProgressBar { value: 0.5 }
}
)",
                      QUrl());
    std::unique_ptr<QObject> view(component.create());
    EXPECT_NE(view, nullptr) << component.errorString().toStdString();
}

} // namespace
