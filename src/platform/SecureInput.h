#pragma once

// Whether the focused field takes a secret (a password field), so that nothing may be typed or
// pasted into it on the user's behalf.
class SecureInput
{
public:
    virtual ~SecureInput() = default;
    // Answers at once or within a short bound; when the desktop cannot tell, the answer is false.
    virtual bool isEnabled() = 0;
};
