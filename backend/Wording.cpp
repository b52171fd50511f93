#include "Wording.h"

#include <cmath>
#include <cstdio>

std::string Wording::count(std::size_t n, std::string_view noun)
{
    return std::to_string(n) + " " + std::string(noun) + (n == 1 ? "" : "s");
}

std::string Wording::decimal(double value)
{
    const double rounded = std::round(value * 10.0) / 10.0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, rounded == std::floor(rounded) ? "%.0f" : "%.1f", rounded);
    return buffer;
}

std::string Wording::listing(const std::vector<std::string>& items)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += i + 1 == items.size() ? " and " : ", ";
        }
        out += items[i];
    }
    return out;
}

std::string Wording::quotedCount(std::string_view word, std::size_t n)
{
    return "\u201C" + std::string(word) + "\u201D (" + std::to_string(n) + "\u00D7)";
}
