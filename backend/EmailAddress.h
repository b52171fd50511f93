#pragma once

#include <string_view>

// The plain addresses an invitation may go to: local@domain.tld, printable ASCII without quoting,
// comments or IP literals. Anything that could smuggle a header line or a second recipient fails.
class EmailAddress
{
public:
    static bool isValid(std::string_view address);
};
