#include "platform/linux/IcuWordTokenizer.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <memory>

namespace {
// Creating a break iterator loads its rules; each thread keeps one and resets its text.
icu::BreakIterator* threadIterator()
{
    thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}
} // namespace

QList<TextSpan> IcuWordTokenizer::words(QStringView text) const
{
    QList<TextSpan> spans;
    icu::BreakIterator* iterator = threadIterator();
    if (text.isEmpty() || !iterator)
        return spans;
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUChars(&utext, text.utf16(), text.size(), &status);
    iterator->setText(&utext, status);
    if (U_FAILURE(status)) {
        utext_close(&utext);
        return spans;
    }
    int32_t start = iterator->first();
    for (int32_t end = iterator->next(); end != icu::BreakIterator::DONE;
         start = end, end = iterator->next()) {
        // Statuses below this limit are spaces, punctuation and symbols.
        if (iterator->getRuleStatus() >= UBRK_WORD_NONE_LIMIT)
            spans.append({start, end - start});
    }
    utext_close(&utext);
    return spans;
}
