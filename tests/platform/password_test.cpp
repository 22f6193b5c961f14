#include <gtest/gtest.h>

#include "platform/services.h"

using namespace platform;

TEST(SenhaOK, VerifiesArgon2idHashesOnly) {
    const std::string hash = HashSenha("demo");
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u);
    EXPECT_NE(HashSenha("demo"), hash);  // salted
    EXPECT_TRUE(SenhaOK("demo", hash));
    EXPECT_FALSE(SenhaOK("Demo", hash));
    EXPECT_FALSE(SenhaOK("", hash));
    // A password kept in clear never verifies, not even against itself.
    EXPECT_FALSE(SenhaOK("demo", "demo"));
    EXPECT_FALSE(SenhaOK("", ""));
    EXPECT_FALSE(SenhaOK("demo", "$argon2id$garbage"));
    EXPECT_FALSE(SenhaOK("demo", hash.substr(0, hash.size() - 4)));
}
