#pragma once

#include "history/DictationHistory.h"

#include <QList>

class FakeDictationHistory final : public DictationHistory
{
public:
    void prepend(const HistoryItem& item) override { items.prepend(item); }
    void save() override { ++saves; }
    void schedulePush() override { ++pushes; }
    void pull() override { ++pulls; }

    QList<HistoryItem> items;
    int saves = 0;
    int pushes = 0;
    int pulls = 0;
};
