#include "ui/HistoryWindowModel.h"

#include "fakes/FakePasteboard.h"
#include "unit/history/HistoryHarness.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class HistoryWindowModelTest : public testing::Test, protected HistoryHarness
{
protected:
    HistoryStore& opened()
    {
        writeFile(document({second, first}));
        return open();
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < window.rowCount(); ++row)
            texts.append(window.index(row).data(HistoryWindowModel::textRole).toString());
        return texts;
    }
    bool copied(int row) const
    {
        return window.index(row).data(HistoryWindowModel::copiedRole).toBool();
    }

    HistoryItem first = record(u"Привет, мир"_s, 100);
    HistoryItem second = record(u"Hello World"_s, 200);
    FakePasteboard pasteboard{time};
    HistoryWindowModel window{opened(), pasteboard, time, QLocale(QLocale::English)};
};

TEST_F(HistoryWindowModelTest, SearchIsTrimmedAndIgnoresLetterCase)
{
    EXPECT_EQ(rows(), (QStringList{u"Hello World"_s, u"Привет, мир"_s})) << "newest first";
    window.setQuery(u"  wORLD \n"_s);
    EXPECT_EQ(rows(), QStringList{u"Hello World"_s});
    window.setQuery(u"ПРИВЕТ"_s);
    EXPECT_EQ(rows(), QStringList{u"Привет, мир"_s});
    window.setQuery(u"nowhere"_s);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(window.emptyStateVisible()) << "the store has records, none match";
    EXPECT_EQ(window.footerText(), u"2 messages · synced with your phone via your cloud folder"_s)
        << "counts every record, not the matches";
    window.setQuery(u" \t "_s);
    EXPECT_EQ(rows().size(), 2) << "a blank search shows everything";
}

TEST_F(HistoryWindowModelTest, CopiedMarkMovesToTheLatestClickAndLastsItsOwnTime)
{
    window.copy(0);
    EXPECT_EQ(pasteboard.current.plainText(), u"Hello World"_s);
    EXPECT_TRUE(copied(0));

    time.advance(600ms);
    window.copy(1);
    EXPECT_EQ(pasteboard.current.plainText(), u"Привет, мир"_s);
    EXPECT_FALSE(copied(0));
    EXPECT_TRUE(copied(1));

    time.advance(700ms); // the first click's 1.2 s are over
    EXPECT_TRUE(copied(1));
    time.advance(500ms);
    EXPECT_FALSE(copied(1));

    window.copy(0);
    time.advance(1s);
    window.copy(0); // the same row again: its mark lasts from this click
    time.advance(1s);
    EXPECT_TRUE(copied(0));
    time.advance(200ms);
    EXPECT_FALSE(copied(0));
}

TEST_F(HistoryWindowModelTest, DeleteShowingAndTheEmptyState)
{
    const int fetches = cloud.fetches;
    window.shown();
    time.advance(1s);
    EXPECT_EQ(cloud.fetches, fetches + 1) << "each showing pulls";

    window.setQuery(u"мир"_s);
    window.remove(0);
    EXPECT_EQ(store->items(), QList{second});
    EXPECT_TRUE(store->deletedIds().contains(first.id));
    EXPECT_TRUE(rows().isEmpty());
    window.setQuery({});
    window.remove(0);
    EXPECT_TRUE(window.emptyStateVisible());
    EXPECT_EQ(window.footerText().split(u' ').front(), u"0"_s);
}

TEST_F(HistoryWindowModelTest, RowsCarryAnAbbreviatedDateAndTheCapitalisedCategory)
{
    HistoryItem note = record(u"Buy milk"_s, 15 * 86400); // mid-January 2001 in any time zone
    note.category = u"personal note"_s;
    store->prepend(note);
    EXPECT_EQ(window.index(0).data(HistoryWindowModel::categoryRole).toString(),
              u"Personal Note"_s);
    EXPECT_EQ(window.index(1).data(HistoryWindowModel::categoryRole).toString(), QString());
    const QString date = window.index(0).data(HistoryWindowModel::dateRole).toString();
    EXPECT_TRUE(date.contains(u"Jan"_s) && date.contains(u"2001"_s)) << qPrintable(date);
    EXPECT_EQ(date.count(u':'), 1) << "hours and minutes only: " << qPrintable(date);
}

} // namespace
