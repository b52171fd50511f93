#pragma once

// Starts the typing nudge; the nudge is created on the first start.
class NudgeStarter
{
public:
    virtual ~NudgeStarter() = default;
    virtual void start() = 0;
};
