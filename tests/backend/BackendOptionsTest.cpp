#include <gtest/gtest.h>

#include "BackendOptions.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(BackendOptionsTest, FlagsAreReadInBothFormsAndBadOnesExplained)
{
    const auto defaults = std::get<BackendOptions>(BackendOptions::parse({}));
    EXPECT_EQ(defaults.address, "127.0.0.1");
    EXPECT_EQ(defaults.port, 8787);
    EXPECT_EQ(defaults.inviteLimit, 20);
    EXPECT_GE(defaults.workers, 1);
    EXPECT_EQ(defaults.database.filename(), "backend.sqlite3");

    const auto set = std::get<BackendOptions>(BackendOptions::parse(
        {"--port", "0", "--address=::1", "--database", "/x/db", "--workers=3", "--invite-limit",
         "2", "--model", "/m", "--help", "--unload-after=60", "--recipient-limit", "4",
         "--registration-limit=5"}));
    EXPECT_EQ(std::tuple(set.port, set.address, set.database, set.workers, set.inviteLimit,
                         set.model, set.help),
              std::tuple(0, std::string("::1"), std::filesystem::path("/x/db"), 3, 2,
                         std::filesystem::path("/m"), true));
    EXPECT_EQ(std::tuple(set.unloadAfterSeconds, set.recipientLimit, set.registrationLimit),
              std::tuple(60, 4, 5));

    const auto upstreams = std::get<BackendOptions>(BackendOptions::parse(
        {"--engine", "openai", "--upstream", "http://127.0.0.1:8080", "--upstream-key-file=/k",
         "--upstream-timeout", "30", "--writer=openai", "--writer-upstream",
         "http://127.0.0.1:8081", "--writer-model", "llama3"}));
    EXPECT_EQ(std::tuple(upstreams.engine, upstreams.upstream, upstreams.upstreamModel,
                         upstreams.upstreamKeyFile, upstreams.upstreamTimeoutSeconds),
              std::tuple(std::string("openai"), std::string("http://127.0.0.1:8080"),
                         std::string("whisper-1"), std::filesystem::path("/k"), 30));
    EXPECT_EQ(std::tuple(upstreams.writer, upstreams.writerModel, upstreams.writerTimeoutSeconds),
              std::tuple(std::string("openai"), std::string("llama3"), 40));

    for (const Arguments& bad :
         {Arguments{"--bogus"}, Arguments{"--port"}, Arguments{"--port", "http"},
          Arguments{"--port=70000"}, Arguments{"--workers", "0"}, Arguments{"--invite-limit=-1"},
          Arguments{"--unload-after=0"}, Arguments{"--database="}, Arguments{"8787"},
          Arguments{"--engine", "whisper"}, Arguments{"--engine", "openai"},
          Arguments{"--upstream", "http://127.0.0.1:8080"},
          Arguments{"--engine=openai", "--upstream=http://127.0.0.1", "--upstream-timeout=240"},
          Arguments{"--writer", "openai", "--writer-upstream", "http://127.0.0.1:8081"},
          Arguments{"--writer-key-file", "/k"}}) {
        EXPECT_TRUE(std::holds_alternative<std::string>(BackendOptions::parse(bad))) << bad.front();
    }
}

} // namespace
