#pragma once

#include "platform/WordTokenizer.h"

// ICU's word break rules: a segment counts when its rule status says word or number.
class IcuWordTokenizer final : public WordTokenizer
{
public:
    QList<TextSpan> words(QStringView text) const override;
};
