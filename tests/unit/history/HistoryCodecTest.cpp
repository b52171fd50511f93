#include "history/HistoryCodec.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QUuid firstId = QUuid::fromString(u"6f1c2a3b-9d4e-4f5a-8b6c-7d8e9f0a1b2c"_s);

HistoryBackup decoded(const char* json)
{
    return HistoryCodec::decode(QByteArray(json)).value_or(HistoryBackup{-1, 0, {}, {}});
}

TEST(HistoryCodecTest, WritesTheSharedFormatCompactly)
{
    HistoryItem item{firstId,      u"Hi \"there\"\n"_s, u"hi there"_s, 762514200, std::nullopt,
                     std::nullopt, std::nullopt,        std::nullopt,  3.2,       u"mac"_s};
    const HistoryBackup document{2, 762514260.5, {item}, {}};
    EXPECT_EQ(HistoryCodec::encode(document),
              R"({"version":2,"exportedAt":762514260.5,"history":[{"id":"6F1C2A3B-9D4E-4F5A-)"
              R"(8B6C-7D8E9F0A1B2C","text":"Hi \"there\"\n","raw":"hi there",)"
              R"("createdAt":762514200,"durationSec":3.2,"device":"mac"}],"deleted":[]})"_ba);
}

TEST(HistoryCodecTest, ReadsWhatOtherWritersMayWrite)
{
    // Lower-case ids, integer and fractional times, null for absent, unknown keys, no
    // tombstones at all: all readable, and written back in the one canonical form.
    const HistoryBackup document = decoded(
        R"({"version":2,"exportedAt":1,"extra":{"x":[1]},"history":[{"id":"6f1c2a3b-9d4e-4f5a-)"
        R"(8b6c-7d8e9f0a1b2c","text":"ü","raw":"","createdAt":762514200.000123,"device":null,)"
        R"("sentAt":5,"mood":"happy"}]})");
    ASSERT_EQ(document.history.size(), 1);
    const HistoryItem& item = document.history.first();
    EXPECT_EQ(item.id, firstId);
    EXPECT_EQ(item.text, u"ü"_s);
    EXPECT_EQ(item.createdAt, 762514200.000123);
    EXPECT_EQ(item.sentAt, 5.0);
    EXPECT_FALSE(item.device);
    EXPECT_TRUE(document.deleted.isEmpty());
    EXPECT_EQ(decoded(R"({"version":2,"exportedAt":1,"history":[],"deleted":null})").version, 2);

    const QByteArray written = HistoryCodec::encode(document).value();
    EXPECT_FALSE(written.contains("device"));
    EXPECT_FALSE(written.contains("mood"));
    EXPECT_FALSE(written.contains("extra"));
    EXPECT_TRUE(written.contains(R"("createdAt":762514200.000123,"sentAt":5})"));
    EXPECT_EQ(HistoryCodec::decode(written), document);
}

TEST(HistoryCodecTest, AnyMissingOrMistypedValueMakesTheDocumentUnreadable)
{
    const char* record = R"("id":"6F1C2A3B-9D4E-4F5A-8B6C-7D8E9F0A1B2C","text":"t","raw":"r")";
    const auto document = [&](const QString& items, const QString& rest = {}) {
        return u"{\"version\":2,\"exportedAt\":1,\"history\":[%1]%2}"_s.arg(items, rest).toUtf8();
    };
    const auto withRecord = [&](const QString& members) {
        return document(u"{%1}"_s.arg(members));
    };
    const QByteArray complete = withRecord(QString::fromUtf8(record) + u",\"createdAt\":1"_s);
    ASSERT_TRUE(HistoryCodec::decode(complete));

    const QList<QByteArray> unreadable{
        withRecord(QString::fromUtf8(record)), // no createdAt
        withRecord(u"\"text\":\"t\",\"raw\":\"r\",\"createdAt\":1"_s),
        withRecord(QString::fromUtf8(record).replace(u",\"raw\":\"r\""_s, QString()) +
                   u",\"createdAt\":1"_s),
        withRecord(QString::fromUtf8(record) + u",\"createdAt\":\"2025-03-01\""_s),
        withRecord(QString::fromUtf8(record) + u",\"createdAt\":1,\"durationSec\":\"3\""_s),
        withRecord(QString::fromUtf8(record) + u",\"createdAt\":1,\"category\":7"_s),
        withRecord(QString::fromUtf8(record).replace(u"\"t\""_s, u"5"_s) + u",\"createdAt\":1"_s),
        withRecord(QString::fromUtf8(record).replace(u"8B6C-"_s, u"8B6C"_s) +
                   u",\"createdAt\":1"_s),
        withRecord(QString::fromUtf8(record).replace(u"\"6F1C"_s, u"\"{6F1C"_s) +
                   u",\"createdAt\":1"_s),
        document(u"1"_s),
        document({}, u",\"deleted\":[\"nope\"]"_s),
        document({}, u",\"deleted\":{}"_s),
        R"({"version":"2","exportedAt":1,"history":[]})"_ba,
        R"({"version":2.5,"exportedAt":1,"history":[]})"_ba,
        R"({"version":2,"history":[]})"_ba,
        R"({"version":2,"exportedAt":1e999,"history":[]})"_ba,
        R"({"version":2,"exportedAt":1,"history":{}})"_ba,
        complete.chopped(1),
        "[]"_ba,
        ""_ba,
    };
    for (const QByteArray& bytes : unreadable)
        EXPECT_FALSE(HistoryCodec::decode(bytes)) << bytes.constData();
}

TEST(HistoryCodecTest, CloudPayloadMayBeABareListOfRecords)
{
    const QByteArray list =
        R"([{"id":"6F1C2A3B-9D4E-4F5A-8B6C-7D8E9F0A1B2C","text":"t","raw":"r","createdAt":9}])"_ba;
    const auto document = HistoryCodec::decodePayload(list);
    ASSERT_TRUE(document);
    ASSERT_EQ(document->history.size(), 1);
    EXPECT_EQ(document->history.first().id, firstId);
    EXPECT_TRUE(document->deleted.isEmpty());
    EXPECT_FALSE(HistoryCodec::decode(list)) << "the history file is always a document";
    EXPECT_FALSE(HistoryCodec::decodePayload(R"([{"id":1}])"_ba));
}

TEST(HistoryCodecTest, HugeTimesAreWrittenSoTheyReadBack)
{
    for (const double time : {7.6255555555555514e19, -1e19, 1e300}) {
        const HistoryBackup document{2, time, {}, {}};
        const auto written = HistoryCodec::encode(document);
        ASSERT_TRUE(written);
        EXPECT_EQ(HistoryCodec::decode(*written), document) << written->constData();
    }
}

TEST(HistoryCodecTest, NumbersWithoutJsonSpellingAreNotWritten)
{
    HistoryItem item{firstId, u"t"_s, u"r"_s, 1, {}, {}, {}, {}, std::nan(""), {}};
    EXPECT_FALSE(HistoryCodec::encode(HistoryBackup{2, 1, {item}, {}}));
}

} // namespace
