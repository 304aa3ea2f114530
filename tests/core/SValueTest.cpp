#include <gtest/gtest.h>
#include "SValue.h"

TEST(SValue, StartsAsIntegerZero)
{
    SValue value;
    EXPECT_EQ(SValue::TypeInteger, value.GetType());
    EXPECT_EQ(0, value.GetInteger());
    EXPECT_EQ(0.0, value.GetReal());
    EXPECT_TRUE(value.GetText().IsEmpty());
    EXPECT_TRUE(value.GetWideText().IsEmpty());
    EXPECT_TRUE(value.GetName().IsEmpty());
}

TEST(SValue, CopyValueCarriesTheTaggedValueOnly)
{
    SValue source;
    source.SetName("source");
    source.SetSecondText("second");
    source.SetText("abc");

    SValue target;
    target.SetName("target");
    target.SetReal(2.5);
    target.SetInteger(-12);
    target.SetReal(2.5);
    EXPECT_EQ(&target, target.CopyValue(source));
    EXPECT_EQ(SValue::TypeText, target.GetType());
    EXPECT_STREQ("abc", target.GetText());
    EXPECT_EQ(2.5, target.GetReal());
    EXPECT_EQ(-12, target.GetInteger());
    EXPECT_STREQ("target", target.GetName());
    EXPECT_TRUE(target.GetSecondText().IsEmpty());

    SValue integer;
    integer.SetInteger(INT64_C(0x123456789A));
    SValue real;
    real.SetReal(-0.125);
    SValue wide;
    wide.SetWideText(L"w\x00E9");
    target.CopyValue(integer);
    EXPECT_EQ(SValue::TypeInteger, target.GetType());
    EXPECT_EQ(INT64_C(0x123456789A), target.GetInteger());
    target.CopyValue(real);
    EXPECT_EQ(SValue::TypeReal, target.GetType());
    EXPECT_EQ(-0.125, target.GetReal());
    target.CopyValue(wide);
    EXPECT_EQ(SValue::TypeWideText, target.GetType());
    EXPECT_STREQ(L"w\x00E9", target.GetWideText().GetBuffer());
    EXPECT_STREQ("abc", target.GetText());
}

TEST(SValue, ClearResetsEverythingButTheTag)
{
    SValue value;
    value.SetName("n");
    value.SetSecondText("s");
    value.SetTag(5);
    value.SetFlags(6);
    value.SetText("t");
    value.SetWideText(L"w");
    value.SetInteger(9);
    value.SetReal(1.5);
    value.Clear();
    EXPECT_EQ(SValue::TypeInteger, value.GetType());
    EXPECT_EQ(0, value.GetInteger());
    EXPECT_EQ(0.0, value.GetReal());
    EXPECT_TRUE(value.GetName().IsEmpty());
    EXPECT_TRUE(value.GetSecondText().IsEmpty());
    EXPECT_TRUE(value.GetText().IsEmpty());
    EXPECT_TRUE(value.GetWideText().IsEmpty());
    EXPECT_EQ(0, value.GetFlags());
    EXPECT_EQ(5, value.GetTag());
}
