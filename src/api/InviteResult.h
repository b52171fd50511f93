#pragma once

// How an invitation went; the invite screen shows a phase of the same name.
enum class InviteResult
{
    sent,
    invalid,
    rateLimited,
    failed
};
