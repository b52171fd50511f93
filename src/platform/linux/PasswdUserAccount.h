#pragma once

#include "platform/UserAccount.h"

// The full name from the first field of the password database's comment (GECOS) field.
class PasswdUserAccount final : public UserAccount
{
public:
    QString fullName() const override;
};
