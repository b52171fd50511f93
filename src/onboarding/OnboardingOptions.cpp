#include "onboarding/OnboardingOptions.h"

using namespace Qt::StringLiterals;

namespace OnboardingOptions {

const QStringList& sources()
{
    static const QStringList all{u"Friend or colleague"_s,
                                 u"YouTube"_s,
                                 u"X / Twitter"_s,
                                 u"LinkedIn"_s,
                                 u"Podcast"_s,
                                 u"Search"_s,
                                 u"AI chat"_s,
                                 u"Other"_s};
    return all;
}

const QStringList& roles()
{
    static const QStringList all{u"Product"_s, u"Data Analysis"_s, u"Founder/CEO"_s,
                                 u"Writer"_s,  u"Operations"_s,    u"Consultant"_s,
                                 u"Student"_s, u"Developer"_s,     u"Marketing"_s,
                                 u"Sales"_s,   u"Other"_s};
    return all;
}

const QList<TypingContext>& typingContexts()
{
    static const QList<TypingContext> all{
        {u"Messages"_s, u"bubble.left.fill"_s},
        {u"Posts & comments"_s, u"megaphone.fill"_s},
        {u"Documents"_s, u"doc.text.fill"_s},
        {u"Emails"_s, u"envelope.fill"_s},
        {u"Chatting with AI"_s, u"sparkles"_s},
        {u"Coding with AI"_s, u"chevron.left.forwardslash.chevron.right"_s},
        {u"Notes"_s, u"note.text"_s},
    };
    return all;
}

} // namespace OnboardingOptions
