// A separate X client for the insertion tests, so that pasting and the clipboard go between
// two processes as they do on a desktop. It reports on its standard output, one line a time.
//
//   paste_target line-edit                a focused line edit; prints "ready", then "text:"
//                                         and the field's text whenever it changes
//   paste_target own-clipboard FILE TEXT  puts one item on the clipboard, FILE's bytes as
//                                         image/png and TEXT as plain text; prints "owned"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

namespace {

void report(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int lineEdit()
{
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("paste target"));
    field.setMinimumWidth(400);
    QObject::connect(&field, &QLineEdit::textChanged,
                     [](const QString& text) { report(QStringLiteral("text:") + text); });
    field.show();
    field.activateWindow();
    field.setFocus();
    // Ready once the window is on screen and the field has the keyboard.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (field.isActiveWindow() && field.hasFocus()) {
            poll.stop();
            report(QStringLiteral("ready"));
        }
    });
    poll.start(10);
    return QApplication::exec();
}

int ownClipboard(const QString& file, const QString& text)
{
    QFile image(file);
    if (!image.open(QIODevice::ReadOnly))
        return 2;
    auto* item = new QMimeData;
    item->setData(QStringLiteral("image/png"), image.readAll());
    item->setText(text);
    QApplication::clipboard()->setMimeData(item);
    report(QStringLiteral("owned"));
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 2 && args[1] == QLatin1String("line-edit"))
        return lineEdit();
    if (args.size() == 4 && args[1] == QLatin1String("own-clipboard"))
        return ownClipboard(args[2], args[3]);
    std::fprintf(stderr, "usage: paste_target line-edit | own-clipboard FILE TEXT\n");
    return 2;
}
