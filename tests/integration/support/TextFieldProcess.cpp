#include "support/TextFieldProcess.h"

#include "support/WaitUntil.h"

using namespace std::chrono_literals;

namespace murmo::test {

TextFieldProcess::TextFieldProcess()
{
    m_process.start(QStringLiteral(MURMO_TEXT_FIELD_CLIENT), {});
    if (waitUntil([&] { return output().contains("window "); }, 10s))
        m_window = m_output.split(' ').value(1).split('\n').value(0).toUInt();
}

TextFieldProcess::~TextFieldProcess()
{
    m_process.kill();
    m_process.waitForFinished();
}

QString TextFieldProcess::text()
{
    const QByteArray all = output();
    const qsizetype last = all.lastIndexOf("\ntext ");
    if (last < 0)
        return {};
    const qsizetype start = last + 6;
    return QString::fromUtf8(all.mid(start, all.indexOf('\n', start) - start));
}

QByteArray TextFieldProcess::output()
{
    m_output += m_process.readAllStandardOutput();
    return m_output;
}

} // namespace murmo::test
