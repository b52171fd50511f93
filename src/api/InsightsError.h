#pragma once

#include <QString>

// Why insights could not be had, beyond the client's own failures.
enum class InsightsError
{
    notEnoughData,
    failed,
    badResponse
};

QString describe(InsightsError error);
