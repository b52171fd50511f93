#pragma once

#include <string>
#include <string_view>
#include <vector>

// A short recap of the texts dictated in one statistics period, from counts alone.
class RecapWriter
{
public:
    // "week", "month", "year" or "all".
    static bool isPeriod(std::string_view period);
    static std::string write(const std::vector<std::string>& texts, std::string_view period);
};
