#include "platform/linux/PasswdUserAccount.h"

#include <pwd.h>
#include <unistd.h>

QString PasswdUserAccount::fullName() const
{
    const passwd* entry = getpwuid(getuid());
    if (!entry || !entry->pw_gecos)
        return {};
    // GECOS holds "Full Name,Room,Work phone,Home phone,Other"; only the name is wanted.
    return QString::fromLocal8Bit(entry->pw_gecos).section(u',', 0, 0);
}
