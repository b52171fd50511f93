#pragma once

#include "platform/Clock.h"

class SystemClock final : public Clock
{
public:
    TimePoint now() const override;
};
