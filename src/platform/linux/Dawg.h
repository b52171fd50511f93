#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <optional>

// A read-only directed acyclic word graph in the dawgdic layout (a double-array of 32-bit units
// followed by a guide for enumerating completions), as the OpenCorpora dictionaries ship it.
// Keys are byte strings. Every access is bounds-checked: a damaged file gives missing keys, not
// a crash.
class Dawg
{
public:
    using Node = quint32;
    static constexpr Node root = 0;

    bool load(const QString& path);

    std::optional<Node> follow(quint8 label, Node from) const;
    std::optional<Node> follow(QByteArrayView key, Node from = root) const;
    // The value stored for the key that ends at `node`, if one does.
    std::optional<quint32> value(Node node) const;
    // Calls `visit` with the rest of every key that continues from `node`.
    void complete(Node node, const std::function<void(QByteArrayView)>& visit) const;

private:
    void complete(Node node, QByteArray& key, const std::function<void(QByteArrayView)>& visit,
                  int depth) const;
    std::optional<quint32> unit(Node node) const;

    QList<quint32> m_units;
    QByteArray m_guide; // per node: label of its first child, label of its next sibling
};
