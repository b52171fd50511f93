#pragma once

#include <QString>

// The account the program runs under.
class UserAccount
{
public:
    virtual ~UserAccount() = default;
    // The user's full name as the system knows it; may be empty.
    virtual QString fullName() const = 0;
};
