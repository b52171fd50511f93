#include "api/BackendOrigin.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(BackendOriginTest, AcceptsHttpsAnywhereAndHttpOnlyOnThisMachine)
{
    for (const QString& accepted :
         {u"http://127.0.0.1:8787"_s, u"http://localhost:9000/"_s, u"http://[::1]:8787"_s,
          u"http://127.5.0.1"_s, u"https://murmo.example.org"_s, u"https://10.0.0.2/murmo"_s}) {
        const auto origin = BackendOrigin::parse(accepted);
        EXPECT_TRUE(std::holds_alternative<QUrl>(origin)) << qPrintable(accepted);
    }
    for (const QString& refused :
         {u"http://murmo.example.org"_s, u"http://10.0.0.2:8787"_s, u"ftp://127.0.0.1"_s,
          u"127.0.0.1:8787"_s, u""_s, u"https://"_s, u"https://user:pw@host"_s,
          u"https://murmo.example.org/?v=1"_s, u"http://127.0.0.1:8787/#top"_s,
          u"https://murmo.example.org?"_s}) {
        const auto origin = BackendOrigin::parse(refused);
        ASSERT_TRUE(std::holds_alternative<QString>(origin)) << qPrintable(refused);
        EXPECT_TRUE(std::get<QString>(origin).contains(refused)) << "the message names it";
    }
}

TEST(BackendOriginTest, EnvironmentOverridesTheBuiltInDefault)
{
    qunsetenv("MURMO_BACKEND_URL");
    EXPECT_EQ(std::get<QUrl>(BackendOrigin::configured()), QUrl(u"http://127.0.0.1:8787"_s));
    qputenv("MURMO_BACKEND_URL", "http://example.org");
    EXPECT_TRUE(std::holds_alternative<QString>(BackendOrigin::configured()));
    qunsetenv("MURMO_BACKEND_URL");
}

} // namespace
