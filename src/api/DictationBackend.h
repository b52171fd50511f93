#pragma once

#include "api/ApiError.h"
#include "api/DictationResponse.h"

#include <QByteArray>
#include <QString>

#include <QCoroTask>

#include <variant>

using DictateResult = std::variant<DictationResponse, ApiError>;

// The two backend requests a dictation needs.
class DictationBackend
{
public:
    virtual ~DictationBackend() = default;

    // Makes sure a token is stored; never fails visibly.
    virtual QCoro::Task<> registerInstallation() = 0;
    // Sends one recording; `retry` allows one re-registration after an unauthorised answer.
    virtual QCoro::Task<DictateResult> dictate(QByteArray audio, QString ext, bool retry) = 0;
};
