#include "model/text/ScanFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// Our scanner must read what the C library's sscanf reads from the lines of
// ".x" files; only its count for an empty text differs (0, not EOF).
void ExpectSameAsSscanf3f(const std::string& text)
{
    float a = 7, b = 7, c = 7;
    const int ours = Scan(text, "%f;%f;%f;", a, b, c);
    float x = 0, y = 0, z = 0;
    const int theirs = std::max(0, std::sscanf(text.c_str(), "%f;%f;%f;", &x, &y, &z));
    ASSERT_EQ(ours, theirs) << '"' << text << '"';
    const float expected[3] = {x, y, z};
    const float read[3] = {a, b, c};
    for (int k = 0; k < 3; ++k) {
        if (k >= theirs) {
            EXPECT_EQ(read[k], 0.0f) << "value " << k << " not supplied by \"" << text << '"';
        } else if (std::isnan(expected[k])) {
            EXPECT_TRUE(std::isnan(read[k])) << text;
            EXPECT_EQ(std::signbit(read[k]), std::signbit(expected[k])) << text;
        } else {
            EXPECT_EQ(read[k], expected[k]) << "value " << k << " of \"" << text << '"';
        }
    }
}

void ExpectSameAsSscanfD(const std::string& text)
{
    std::int32_t value = 7;
    const int ours = Scan(text, "%d;", value);
    int expected = 0;
    const int theirs = std::max(0, std::sscanf(text.c_str(), "%d;", &expected));
    ASSERT_EQ(ours, theirs) << '"' << text << '"';
    EXPECT_EQ(value, theirs ? expected : 0) << '"' << text << '"';
}

TEST(ScanFormat, ReadsFloatsLikeTheCLibrary)
{
    for (const char* text :
         {"1.0;2.0;3.0;,", "1.0; 2.0; 3.0;,", "  -0.5;\t+2.25;1e3;;", "1.0 ;2.0;3.0;", "1,2,3", "-1.5e3;+2.5E-2;.5;",
          "5.;6.;7.;", "inf;-INF;infinity;", "nan;-nan;NaN(12);", "1e50;-1e50;1e-50;",
          "0.1;0.2;0.30000001192092896;", "0000000000000000000001.5;-0.0;16777217;", "3.4028235e38;1.17549435e-38;1.4e-45;", "", ";", "abc", "+-1;2;3;",
          "-;1;2", "1.5;;2;", "12abc;3;4;", ".;1;2;", "1.0;2.0", "00001.2500;2;3"})
        ExpectSameAsSscanf3f(text);
}

TEST(ScanFormat, ReadsIntegersLikeTheCLibrary)
{
    for (const char* text : {"3;", "  -12;", "+7;", "- 5", "", "abc", "12abc", "0x10;", "007;", "2147483647;",
                             "-2147483648;", "\t\r\n 42 ;", "4;0,1,2,3;,", "1;1;0;;", "1.9;",
                             "0000000000000000000000012;", "-000;", "+;"})
        ExpectSameAsSscanfD(text);
}

TEST(ScanFormat, SaturatesIntegersBeyondThirtyTwoBits)
{
    std::int32_t value = 0;
    EXPECT_EQ(Scan("99999999999;", "%d;", value), 1);
    EXPECT_EQ(value, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Scan("-99999999999999999999999;", "%d;", value), 1);
    EXPECT_EQ(value, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(Scan("2147483648", "%d", value), 1);
    EXPECT_EQ(value, std::numeric_limits<std::int32_t>::max());
}

// A number ends where strtof ends it: a dangling exponent mark is left
// unread (glibc's scanf would swallow it), so the ";" that follows no longer
// matches.
TEST(ScanFormat, LeavesADanglingExponentUnreadLikeStrtof)
{
    float a = 7, b = 7;
    EXPECT_EQ(Scan("1e;2;", "%f;%f;", a, b), 1);
    EXPECT_EQ(a, 1.0f);
    EXPECT_EQ(b, 0.0f);
    std::string_view rest = "2.5e+x";
    ASSERT_TRUE(ScanFloatField(rest, a));
    EXPECT_EQ(a, 2.5f);
    EXPECT_EQ(rest, "e+x");
}

TEST(ScanFormat, RefusesHexadecimalFloatsAfterTheirLeadingZero)
{
    float a = 7, b = 7;
    EXPECT_EQ(Scan("0x1p3;2;", "%f;%f;", a, b), 1);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 0.0f);
}

TEST(ScanFormat, MixesIntegersAndFloatsAndZeroesWhatIsNotReached)
{
    std::int32_t count = 9;
    float u = 9, v = 9;
    EXPECT_EQ(Scan("4; 0.25", "%d;%f;%f;", count, u, v), 2);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(u, 0.25f);
    EXPECT_EQ(v, 0.0f);

    // A conversion whose target has the other type stops the scan.
    std::int32_t wrong = 9;
    EXPECT_EQ(Scan("1.5", "%f", wrong), 0);
    EXPECT_EQ(wrong, 0);
}

TEST(ScanFormat, WhiteSpaceInTheFormatMatchesAnyRunAndPercentMatchesItself)
{
    std::int32_t a = 0, b = 0;
    EXPECT_EQ(Scan("1   2", "%d %d", a, b), 2);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(Scan("12", "%d %d", a, b), 1);
    EXPECT_EQ(Scan("5%6", "%d%%%d", a, b), 2);
    EXPECT_EQ(b, 6);
}

TEST(ScanFormat, FieldScannersMovePastWhatTheyRead)
{
    std::string_view rest = "  -3,4";
    std::int32_t value = 0;
    ASSERT_TRUE(ScanIntField(rest, value));
    EXPECT_EQ(value, -3);
    EXPECT_EQ(rest, ",4");
    EXPECT_FALSE(ScanIntField(rest, value));
    EXPECT_EQ(rest, ",4");
    EXPECT_EQ(value, -3);

    std::string_view floats = " 1.5e2x";
    float number = 0;
    ASSERT_TRUE(ScanFloatField(floats, number));
    EXPECT_EQ(number, 150.0f);
    EXPECT_EQ(floats, "x");
}

// The short-decimal path rounds by multiplication unless the product falls
// near a halfway point; over every input it takes, it must equal the exact
// float division.
TEST(ScanFormat, ShortDecimalsRoundExactlyForEveryInputTheyTake)
{
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    std::int64_t mismatches = 0;
    for (std::size_t decimals = 0; decimals <= 10; ++decimals)
        for (std::uint64_t digits = 0; digits <= (1u << 24); ++digits)
            mismatches += scan_detail::DecimalToFloat(digits, decimals) !=
                          static_cast<float>(digits) / kPowers[decimals];
    EXPECT_EQ(mismatches, 0);
}

TEST(ScanFormat, SeparatedFieldsReadLikeTheirFormat)
{
    for (const char* text : {"1.0;2.0;3.0;,", " 1; 2 ;3;", "1;;3", "-0.000001;1e-3;+7;", "4;0,1,2,3;,", "", "x;1;2",
                             "16777217;0.1234567891;123456789012345678901;", "1.5e;2;3"}) {
        float a = 9, b = 9, c = 9, x = 8, y = 8, z = 8;
        EXPECT_EQ(ScanSeparated(text, ';', a, b, c), Scan(text, "%f;%f;%f;", x, y, z)) << text;
        EXPECT_EQ(a, x) << text;
        EXPECT_EQ(b, y) << text;
        EXPECT_EQ(c, z) << text;
        std::int32_t i = 9, j = 9, k = 8, l = 8;
        EXPECT_EQ(ScanSeparated(text, ';', i, j), Scan(text, "%d;%d;", k, l)) << text;
        EXPECT_EQ(i, k) << text;
        EXPECT_EQ(j, l) << text;
    }
}

}  // namespace
