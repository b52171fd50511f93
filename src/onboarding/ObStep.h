#pragma once

// The onboarding's screens; the values give their order.
enum class ObStep
{
    welcome,
    source,
    about,
    typing,
    data,
    perms,
    micTest,
    shortcut,
    languages,
    learn,
    hours,
    nicejob,
    invite
};

namespace ObSteps {
inline constexpr ObStep first = ObStep::welcome;
inline constexpr ObStep last = ObStep::invite;
} // namespace ObSteps
