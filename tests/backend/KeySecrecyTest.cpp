#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include "BackendProcess.h"
#include "Base64.h"
#include "KeyFile.h"
#include "ScriptedUpstream.h"
#include "TempDirectory.h"
#include "WavFile.h"

namespace {

using Json = nlohmann::json;

const std::string key = "sk-proj-Q7v2Zr9Xw4";

std::filesystem::path writeKey(const std::filesystem::path& path, const std::string& contents,
                               mode_t mode)
{
    std::ofstream(path) << contents;
    chmod(path.c_str(), mode);
    return path;
}

TEST(KeySecrecyTest, KeyFilesMustBeTheirOwnersAlone)
{
    TempDirectory directory;
    const auto path = directory.path() / "key";
    EXPECT_EQ(KeyFile::read(writeKey(path, "  " + key + "\n", 0600)), key);
    EXPECT_EQ(KeyFile::read(writeKey(path, key, 0400)), key);
    for (const mode_t open : {0644, 0640, 0604, 0620, 0660}) {
        writeKey(path, key, open);
        try {
            KeyFile::read(path);
            ADD_FAILURE() << std::oct << open << " was accepted";
        } catch (const std::runtime_error& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("chmod 600 " + path.string()), std::string::npos) << message;
            EXPECT_EQ(message.find(key), std::string::npos) << message;
        }
    }
    for (const std::string& bad :
         std::vector<std::string>{"", " \n ", key + "\n" + key, "sk with spaces"}) {
        EXPECT_THROW(KeyFile::read(writeKey(path, bad, 0600)), std::runtime_error) << bad;
    }
    EXPECT_THROW(KeyFile::read(directory.path() / "missing"), std::runtime_error);
    EXPECT_THROW(KeyFile::read(directory.path()), std::runtime_error);
}

TEST(KeySecrecyTest, TheServerRefusesAKeyFileOthersCanRead)
{
    TempDirectory directory;
    const auto keyFile = writeKey(directory.path() / "key", key, 0644);
    BackendProcess backend(directory.path(),
                           {"--engine", "openai", "--upstream", "http://127.0.0.1:9",
                            "--upstream-key-file", keyFile.string()});
    EXPECT_EQ(backend.waitUntilListening(), -1);
    EXPECT_EQ(backend.stop(), 1);
    EXPECT_NE(backend.log().find("chmod 600"), std::string::npos) << backend.log();
}

// Both upstreams quote the key back in their refusals, as hosted services do.
TEST(KeySecrecyTest, TheKeyAppearsInNoLogLineOrReply)
{
    ScriptedUpstream upstream;
    const std::string refusal =
        Json{{"error", {{"message", "Incorrect API key provided: " + key}}}}.dump();
    upstream.script({401, refusal});
    upstream.script({401, refusal});
    TempDirectory directory;
    const auto keyFile = writeKey(directory.path() / "key", key + "\n", 0600);
    BackendProcess backend(directory.path(),
                           {"--engine", "openai", "--upstream", upstream.url(),
                            "--upstream-key-file", keyFile.string(), "--writer", "openai",
                            "--writer-upstream", upstream.url(), "--writer-model", "m",
                            "--writer-key-file", keyFile.string()});
    const int port = backend.waitUntilListening();
    ASSERT_GT(port, 0) << backend.log();

    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(std::chrono::seconds(60));
    const auto registered = client.Post("/api/register", R"({"device":"D"})", "application/json");
    ASSERT_TRUE(registered);
    const httplib::Headers auth = {
        {"Authorization", "Bearer " + Json::parse(registered->body)["token"].get<std::string>()}};
    const auto dictated = client.Post(
        "/api/dictate", auth,
        Json{{"audio", Base64::encode(WavFile::tone(0.5, 16000, 1))}, {"ext", "wav"}}.dump(),
        "application/json");
    const auto insights = client.Post(
        "/api/insights", auth,
        Json{{"samples", {"one two three", "four five", "six seven"}}}.dump(), "application/json");
    ASSERT_TRUE(dictated && insights);
    EXPECT_EQ(dictated->status, 502);
    EXPECT_EQ(insights->status, 200);
    backend.stop();

    const auto received = upstream.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].header("Authorization"), "Bearer " + key);
    const std::string everything = backend.log() + dictated->body + insights->body;
    EXPECT_EQ(everything.find(key), std::string::npos) << everything;
    EXPECT_NE(backend.log().find("answered 401: Incorrect API key provided: [key]"),
              std::string::npos)
        << backend.log();
}

} // namespace
