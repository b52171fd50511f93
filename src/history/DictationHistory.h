#pragma once

#include "history/HistoryItem.h"

// The history as the dictation controller feeds it.
class DictationHistory
{
public:
    virtual ~DictationHistory() = default;

    // Inserts a record at the front (newest first).
    virtual void prepend(const HistoryItem& item) = 0;
    // Rewrites the history document; never fails visibly.
    virtual void save() = 0;
    // Pushes to the cloud record a little later, coalescing bursts of changes.
    virtual void schedulePush() = 0;
    // Merges the cloud record into the local history, when cloud sync is on.
    virtual void pull() = 0;
};
