#include "platform/linux/JsonPreferencesStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class JsonPreferencesStoreTest : public testing::Test
{
protected:
    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeFile(const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QStringList asideFiles() const
    {
        return QDir(QFileInfo(path).absolutePath())
            .entryList({u"preferences.json.unreadable-*"_s}, QDir::Files);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(u"Murmo/preferences.json"_s);
};

TEST_F(JsonPreferencesStoreTest, ValuesSurviveARestartWithTheirTypes)
{
    {
        JsonPreferencesStore store(path);
        EXPECT_FALSE(store.value(u"missing"_s));
        store.setValue(u"text"_s, u"ру ⌘"_s);
        store.setValue(u"flag"_s, false);
        store.setValue(u"time"_s, 1767225600.123456789);
        store.setValue(u"whole"_s, 3.0);
        store.setValue(u"list"_s, QStringList{u"en"_s, u"ru"_s});
        store.setValue(u"none"_s, QStringList{});
        store.setValue(u"empty"_s, QString());
    }
    JsonPreferencesStore reopened(path);
    EXPECT_EQ(reopened.text(u"text"_s), u"ру ⌘"_s);
    EXPECT_EQ(reopened.boolean(u"flag"_s), false);
    EXPECT_EQ(reopened.number(u"time"_s), 1767225600.123456789);
    EXPECT_EQ(reopened.number(u"whole"_s), 3.0);
    EXPECT_EQ(reopened.textList(u"list"_s), (QStringList{u"en"_s, u"ru"_s}));
    EXPECT_EQ(reopened.textList(u"none"_s), QStringList());
    EXPECT_EQ(reopened.text(u"empty"_s), QString());
    EXPECT_FALSE(reopened.text(u"flag"_s)) << "a boolean is not read as text";
}

TEST_F(JsonPreferencesStoreTest, DefaultLocationFollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(JsonPreferencesStore::defaultFilePath(), dir.filePath(u"Murmo/preferences.json"_s));
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(JsonPreferencesStoreTest, ForeignValuesAreUnreadableButKept)
{
    writeFile(R"({"obj":{"a":1},"mixed":["a",2],"nothing":null,"keep":"me"})");
    JsonPreferencesStore store(path);
    EXPECT_FALSE(store.value(u"obj"_s));
    EXPECT_FALSE(store.value(u"mixed"_s));
    EXPECT_FALSE(store.value(u"nothing"_s));
    store.setValue(u"new"_s, true);
    const QJsonObject written = QJsonDocument::fromJson(fileBytes()).object();
    EXPECT_EQ(written.value(u"obj"_s).toObject().value(u"a"_s).toInt(), 1);
    EXPECT_EQ(written.value(u"keep"_s).toString(), u"me"_s);
    EXPECT_TRUE(written.value(u"new"_s).toBool());
}

TEST_F(JsonPreferencesStoreTest, DamagedFileReadsEmptyAndIsMovedAsideBeforeTheNextWrite)
{
    for (const QByteArray& damaged :
         {QByteArray(R"({"murmo.mac.onboarded":tr)"), QByteArray("not json at all"),
          QByteArray("[1,2]"), QByteArray()}) {
        for (const QString& file : asideFiles())
            QFile::remove(QFileInfo(path).absolutePath() + u'/' + file);
        writeFile(damaged);
        JsonPreferencesStore store(path);
        EXPECT_FALSE(store.value(u"murmo.mac.onboarded"_s));
        EXPECT_EQ(fileBytes(), damaged) << "reading alone leaves the file alone";

        store.setValue(u"murmo.mac.hotkey"_s, u"fn"_s);
        const QStringList aside = asideFiles();
        ASSERT_EQ(aside.size(), 1) << damaged.constData();
        QFile kept(QFileInfo(path).absolutePath() + u'/' + aside.front());
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), damaged);
        EXPECT_EQ(JsonPreferencesStore(path).text(u"murmo.mac.hotkey"_s), u"fn"_s);
    }
}

TEST_F(JsonPreferencesStoreTest, FileThatCannotBeOpenedIsNeitherMovedNorOverwritten)
{
    // A directory stands in for a file this user may not open: the tests run as root.
    ASSERT_TRUE(QDir().mkpath(path));
    JsonPreferencesStore store(path);
    store.setValue(u"murmo.mac.hotkey"_s, u"fn"_s);
    EXPECT_EQ(store.text(u"murmo.mac.hotkey"_s), u"fn"_s) << "kept in memory";
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(asideFiles().isEmpty());

    // Once it can be read again, its values and the new one are both kept.
    ASSERT_TRUE(QDir(path).removeRecursively());
    writeFile(R"({"murmo.mac.token":"abc"})");
    store.setValue(u"murmo.mac.nudges"_s, false);
    JsonPreferencesStore reopened(path);
    EXPECT_EQ(reopened.text(u"murmo.mac.token"_s), u"abc"_s);
    EXPECT_EQ(reopened.text(u"murmo.mac.hotkey"_s), u"fn"_s);
    EXPECT_EQ(reopened.boolean(u"murmo.mac.nudges"_s), false);
}

TEST_F(JsonPreferencesStoreTest, EditsMadeByOthersAreSeenAndNotClobbered)
{
    JsonPreferencesStore store(path);
    store.setValue(u"murmo.mac.token"_s, u"abc"_s);
    writeFile(R"({"murmo.mac.token":"abc","murmo.mac.style":"Short sentences, please."})");
    EXPECT_EQ(store.text(u"murmo.mac.style"_s), u"Short sentences, please."_s);

    writeFile(R"({"murmo.mac.token":"abc","murmo.mac.style":"Formal."})");
    store.setValue(u"murmo.mac.nudges"_s, false);
    JsonPreferencesStore reopened(path);
    EXPECT_EQ(reopened.text(u"murmo.mac.style"_s), u"Formal."_s);
    EXPECT_EQ(reopened.boolean(u"murmo.mac.nudges"_s), false);
}

TEST_F(JsonPreferencesStoreTest, UnwritableLocationKeepsValuesInMemory)
{
    // A plain file where the folder should be: no write can succeed, even as root.
    QFile blocker(dir.filePath(u"blocked"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    JsonPreferencesStore store(dir.filePath(u"blocked/Murmo/preferences.json"_s));
    store.setValue(u"murmo.mac.onboarded"_s, true);
    EXPECT_EQ(store.boolean(u"murmo.mac.onboarded"_s), true);
}

} // namespace
