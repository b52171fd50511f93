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

    for (const Arguments& bad :
         {Arguments{"--bogus"}, Arguments{"--port"}, Arguments{"--port", "http"},
          Arguments{"--port=70000"}, Arguments{"--workers", "0"}, Arguments{"--invite-limit=-1"},
          Arguments{"--unload-after=0"}, Arguments{"--database="}, Arguments{"8787"}}) {
        EXPECT_TRUE(std::holds_alternative<std::string>(BackendOptions::parse(bad))) << bad.front();
    }
}

} // namespace
