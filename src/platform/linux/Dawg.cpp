#include "platform/linux/Dawg.h"

#include <QFile>
#include <QtEndian>

namespace {
constexpr quint32 hasLeafBit = 1u << 8;
constexpr quint32 extensionBit = 1u << 9;
constexpr quint32 isLeafBit = 1u << 31;
// Keys of these dictionaries are short words; deeper paths only come from a damaged file.
constexpr int maxKeyLength = 256;

quint32 offsetOf(quint32 unit)
{
    return (unit >> 10) << ((unit & extensionBit) >> 6);
}

quint32 labelOf(quint32 unit)
{
    return unit & (isLeafBit | 0xFF);
}

bool readNumber(QFile& file, quint32& number)
{
    if (file.read(reinterpret_cast<char*>(&number), sizeof number) != sizeof number)
        return false;
    number = qFromLittleEndian(number);
    return true;
}
} // namespace

bool Dawg::load(const QString& path)
{
    m_units.clear();
    m_guide.clear();
    QFile file(path);
    quint32 unitCount = 0;
    if (!file.open(QIODevice::ReadOnly) || !readNumber(file, unitCount) ||
        qint64(unitCount) * 4 > file.size())
        return false;
    m_units.resize(unitCount);
    const qint64 unitBytes = qint64(unitCount) * 4;
    quint32 guideCount = 0;
    if (file.read(reinterpret_cast<char*>(m_units.data()), unitBytes) != unitBytes ||
        !readNumber(file, guideCount) || qint64(guideCount) * 2 > file.size()) {
        m_units.clear();
        return false;
    }
    qFromLittleEndian<quint32>(m_units.constData(), m_units.size(), m_units.data());
    m_guide = file.read(qint64(guideCount) * 2);
    if (m_guide.size() != qint64(guideCount) * 2) {
        m_units.clear();
        m_guide.clear();
        return false;
    }
    return true;
}

std::optional<quint32> Dawg::unit(Node node) const
{
    if (node >= quint32(m_units.size()))
        return std::nullopt;
    return m_units[node];
}

std::optional<Dawg::Node> Dawg::follow(quint8 label, Node from) const
{
    const std::optional<quint32> base = unit(from);
    if (!base)
        return std::nullopt;
    const Node next = from ^ offsetOf(*base) ^ label;
    const std::optional<quint32> target = unit(next);
    if (!target || labelOf(*target) != label)
        return std::nullopt;
    return next;
}

std::optional<Dawg::Node> Dawg::follow(QByteArrayView key, Node from) const
{
    std::optional<Node> node = from;
    for (char byte : key) {
        node = follow(quint8(byte), *node);
        if (!node)
            return std::nullopt;
    }
    return node;
}

std::optional<quint32> Dawg::value(Node node) const
{
    const std::optional<quint32> base = unit(node);
    if (!base || (*base & hasLeafBit) == 0)
        return std::nullopt;
    const std::optional<quint32> leaf = unit(node ^ offsetOf(*base));
    if (!leaf)
        return std::nullopt;
    return *leaf & ~isLeafBit;
}

void Dawg::complete(Node node, const std::function<void(QByteArrayView)>& visit) const
{
    QByteArray key;
    complete(node, key, visit, 0);
}

void Dawg::complete(Node node, QByteArray& key, const std::function<void(QByteArrayView)>& visit,
                    int depth) const
{
    const std::optional<quint32> base = unit(node);
    if (!base || depth > maxKeyLength || node * 2 + 1 >= quint32(m_guide.size()))
        return;
    if (*base & hasLeafBit)
        visit(key);
    quint8 label = quint8(m_guide[node * 2]);
    while (label != 0) {
        const std::optional<Node> child = follow(label, node);
        if (!child || *child * 2 + 1 >= quint32(m_guide.size()))
            return;
        key.append(char(label));
        complete(*child, key, visit, depth + 1);
        key.chop(1);
        // Siblings come in ascending label order; anything else is damage and could loop.
        const quint8 sibling = quint8(m_guide[*child * 2 + 1]);
        label = sibling > label ? sibling : 0;
    }
}
