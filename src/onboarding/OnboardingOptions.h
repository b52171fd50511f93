#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The answers the onboarding questions offer, in the order they are shown. The labels are also
// the values stored.
namespace OnboardingOptions {

struct TypingContext
{
    QString label;
    QString symbol;
};

const QStringList& sources();
const QStringList& roles();
const QList<TypingContext>& typingContexts();

} // namespace OnboardingOptions
