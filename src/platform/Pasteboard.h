#pragma once

#include <QString>

// The desktop's clipboard.
class Pasteboard
{
public:
    virtual ~Pasteboard() = default;
    // Replaces the whole clipboard with one plain-text item.
    virtual void setPlainText(const QString& text) = 0;
};
