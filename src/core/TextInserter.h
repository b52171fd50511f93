#pragma once

#include "core/InsertOutcome.h"

#include <QString>

#include <QCoroTask>

#include <stop_token>

// Puts a text into whatever field has the keyboard focus.
class TextInserter
{
public:
    virtual ~TextInserter() = default;
    // A stop request only shortens the pause before the paste; the paste still happens.
    virtual QCoro::Task<InsertOutcome> insertText(QString text, std::stop_token stop) = 0;
};
