#pragma once

#include <QProcess>
#include <QString>

namespace murmo::test {

// Another application on the desktop: text_field_client, a window whose text field takes the
// keyboard focus. Stopped when destroyed.
class TextFieldProcess
{
public:
    // Waits (bounded) until the window is shown; window() is 0 if it never was.
    TextFieldProcess();
    ~TextFieldProcess();
    TextFieldProcess(const TextFieldProcess&) = delete;
    TextFieldProcess& operator=(const TextFieldProcess&) = delete;

    quint32 window() const { return m_window; }
    qint64 pid() const { return m_process.processId(); }
    // What the field holds, as the client last reported it.
    QString text();
    // Everything the client has printed, for failure messages.
    QByteArray output();

private:
    QProcess m_process;
    QByteArray m_output;
    quint32 m_window = 0;
};

} // namespace murmo::test
