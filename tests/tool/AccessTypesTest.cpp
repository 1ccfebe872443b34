// Which Access column types are carried, and as what.
#include "mdb/AccessTypes.h"

#include <gtest/gtest.h>

using namespace rackbook;

namespace {

struct TypeCase {
    int code;
    int textChars;
    std::string declared; // empty: not carried
};

class AccessTypeMapping : public ::testing::TestWithParam<TypeCase> {};

TEST_P(AccessTypeMapping, CarriesWhatTheDriverKnows) {
    CarriedType carried = carriedTypeOf(GetParam().code, GetParam().textChars);
    EXPECT_EQ(carried.supported, !GetParam().declared.empty()) << GetParam().code;
    EXPECT_EQ(carried.declaredType, GetParam().declared) << GetParam().code;
    EXPECT_FALSE(carried.accessName.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccessTypeMapping,
    ::testing::Values(TypeCase{1, 0, "YESNO"}, TypeCase{2, 0, "INTEGER"}, TypeCase{3, 0, "INTEGER"},
                      TypeCase{4, 0, "LONG"}, TypeCase{5, 0, "DOUBLE"}, TypeCase{6, 0, "REAL"},
                      TypeCase{7, 0, "DOUBLE"}, TypeCase{8, 0, "DATETIME"},
                      TypeCase{10, 50, "TEXT(50)"}, TypeCase{10, 255, "TEXT(255)"},
                      TypeCase{10, 0, "TEXT(255)"}, TypeCase{12, 0, "LONGTEXT"},
                      TypeCase{15, 0, "TEXT(38)"}, TypeCase{16, 0, "DOUBLE"}, TypeCase{9, 0, ""},
                      TypeCase{11, 0, ""}, TypeCase{18, 0, ""}, TypeCase{99, 0, ""}));

TEST(AccessTypeMapping, NamesTheTypesItCannotCarry) {
    EXPECT_EQ(carriedTypeOf(11, 0).accessName, "OLE object");
    EXPECT_EQ(carriedTypeOf(99, 0).accessName, "unknown type 99");
}

TEST(WidenSingle, KeepsTheDecimalTheUserTyped) {
    EXPECT_EQ(widenSingle(0.1f), 0.1);
    EXPECT_EQ(widenSingle(2.5f), 2.5);
    EXPECT_EQ(widenSingle(-1234.56f), -1234.56);
    EXPECT_EQ(widenSingle(16777216.0f), 16777216.0);
    EXPECT_EQ(static_cast<float>(widenSingle(3.4028235e38f)), 3.4028235e38f);
}

} // namespace
