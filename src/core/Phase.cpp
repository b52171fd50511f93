#include "core/Phase.h"

Phase Phase::notice(const QString& message)
{
    return Phase(Kind::notice, message);
}
