#pragma once

#include <QString>

// Why a recording could not start. Errors of the audio stack pass through with their own
// domain, code and description.
struct RecorderError
{
    QString domain;
    int code = 0;
    QString description;
};
