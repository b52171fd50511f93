#pragma once

#include "api/ApiFailure.h"

#include <QString>

// Why a backend request did not produce its result: one of the client's own failures, a
// cancellation, or an error of the HTTP stack or the JSON decoder passed through unchanged.
struct ApiError
{
    enum class Kind
    {
        failure,
        cancelled,
        transport,
        decoding
    };

    static ApiError fromFailure(ApiFailure failure) { return {Kind::failure, failure, {}}; }
    static ApiError cancellation() { return {Kind::cancelled, ApiFailure::server, {}}; }
    static ApiError transportError(QString message) { return {Kind::transport, {}, message}; }
    static ApiError decodingError(QString message) { return {Kind::decoding, {}, message}; }

    // The failure's fixed description, or the passed-through message.
    QString description() const;

    Kind kind = Kind::failure;
    ApiFailure failure = ApiFailure::server; // meaningful for Kind::failure only
    QString message;
};
