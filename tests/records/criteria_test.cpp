#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/error.h"
#include "records/request_criteria.h"

namespace {

// Every criterion by name, its position as its value, to see where each lands.
std::map<std::string, core::Variant> everyCriterion() {
    std::map<std::string, core::Variant> values;
    const auto& all = records::requestCriteria().all();
    for (size_t i = 0; i < all.size(); ++i) values[all[i].name] = static_cast<int>(i);
    return values;
}

TEST(Criteria, ArgumentsGoInWireOrderAndEveryCriterionIsNamedOnce) {
    const auto& c = records::requestCriteria();
    ASSERT_EQ(c.size(), 18u);
    // The positions the wire has always used.
    EXPECT_EQ(c.index("stNRORDPROD"), 0u);
    EXPECT_EQ(c.index("stIDSTATUSAUDI"), 6u);
    EXPECT_EQ(c.index("dtDTINI"), 10u);
    EXPECT_EQ(c.index("stTDSUBLOTE"), 15u);
    EXPECT_EQ(c.index("CDFILIAL"), 16u);
    EXPECT_EQ(c.index("stTipoAna"), 17u);
    EXPECT_THROW(c.index("stLOTE"), core::Error);

    auto values = everyCriterion();
    const auto args = c.arguments(values);
    ASSERT_EQ(args.size(), 18u);
    for (size_t i = 0; i < args.size(); ++i) EXPECT_EQ(args[i].value.asInteger(), static_cast<int64_t>(i));

    values.erase("stTDLOTE");
    EXPECT_THROW(c.arguments(values), core::Error);
    values["stTDLOTE"] = "T";
    values["stTDLOT"] = "T";  // a misspelt name is refused, not ignored
    EXPECT_THROW(c.arguments(values), core::Error);
}

}  // namespace
