#include "api/InsightsError.h"

using namespace Qt::StringLiterals;

QString describe(InsightsError error)
{
    switch (error) {
    case InsightsError::notEnoughData:
        return u"Dictate at least 3 messages first, then check back."_s;
    case InsightsError::failed:
        return u"Couldn't generate insights right now. Try again."_s;
    case InsightsError::badResponse:
        break;
    }
    return u"Got an unexpected response. Try again."_s;
}
