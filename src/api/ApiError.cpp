#include "api/ApiError.h"

using namespace Qt::StringLiterals;

QString ApiError::description() const
{
    if (kind != Kind::failure)
        return message;
    switch (failure) {
    case ApiFailure::noToken:
        return u"Couldn't connect to Murmo. Check your internet."_s;
    case ApiFailure::noSpeech:
        return u"Didn't catch any speech — try again."_s;
    case ApiFailure::server:
        break;
    }
    return u"Murmo had a hiccup. Please try again."_s;
}
