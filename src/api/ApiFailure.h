#pragma once

// Failures of the backend client that carry their own user-facing description.
enum class ApiFailure
{
    noToken,
    noSpeech,
    server
};
