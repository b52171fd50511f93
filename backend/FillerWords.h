#pragma once

#include <string_view>
#include <utility>
#include <vector>

// The filler expressions Murmo's statistics count, counted the way the statistics count them, so
// the insights quote the numbers the user sees there.
class FillerWords
{
public:
    using Count = std::pair<std::string_view, std::size_t>;

    // The fillers that occur in the text with their counts, in the order of the list. A filler
    // counts only as whole words between spaces of the lower-cased text ("like," does not), and
    // repeated fillers share their spaces ("um um um" is three).
    static std::vector<Count> count(std::string_view text);
};
