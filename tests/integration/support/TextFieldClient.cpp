// Another application for the desktop tests: a window with one text field that takes the
// keyboard focus. Prints "window ID" once shown, then "text TEXT" whenever the field changes.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <cstdio>

namespace {

void printLine(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::printf("%s\n", qPrintable(message));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(printLine);
    QQmlApplicationEngine engine;
    engine.loadData(R"(
import QtQuick
import QtQuick.Window

Window {
    width: 320
    height: 60
    visible: true
    color: "white"

    TextInput {
        anchors.fill: parent
        focus: true
        onTextChanged: console.log("text " + text)
    }
}
)");
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    window->requestActivate();
    std::printf("window %llu\n", static_cast<unsigned long long>(window->winId()));
    std::fflush(stdout);
    return app.exec();
}
