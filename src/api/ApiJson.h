#pragma once

#include "api/DictationResponse.h"
#include "api/Insights.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

// Strict decoding of the backend's replies: a required member that is missing, or any member
// of the wrong type, fails the whole reply.
namespace ApiJson {

struct DecodeError
{
    QString message;
};

// The decoded reply, or why it could not be decoded.
template<class T>
using Decoded = std::variant<T, DecodeError>;

Decoded<DictationResponse> dictationResponse(const QByteArray& body);
// The "token" of a registration reply whose members are all texts; none otherwise.
std::optional<QString> registrationToken(const QByteArray& body);
std::optional<Insights> insights(const QByteArray& body);
Decoded<QString> summary(const QByteArray& body);

} // namespace ApiJson
