#pragma once

#include "platform/FrontmostApplication.h"

// Another application is in front until a test says otherwise.
class FakeFrontmostApplication final : public FrontmostApplication
{
public:
    ApplicationIdentity current() const override { return front; }
    ApplicationIdentity own() const override { return self; }

    ApplicationIdentity self{4242, QStringLiteral("Murmo")};
    ApplicationIdentity front{777, QStringLiteral("Gedit")};
};
