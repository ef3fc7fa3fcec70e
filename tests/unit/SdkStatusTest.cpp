#include "engine/SdkStatus.h"

#include <gtest/gtest.h>

using korvan::sdk::SdkErrorText;

// The texts users see for the codes the imaging layer returns.
TEST(SdkErrorText, QuotedCodesHaveTheirTexts) {
    EXPECT_EQ(SdkErrorText(0), "Function not successful");
    EXPECT_EQ(SdkErrorText(-1), "Not enough memory available");
    EXPECT_EQ(SdkErrorText(-2), "Invalid bitmap handle");
    EXPECT_EQ(SdkErrorText(-5), "Error writing file");
    EXPECT_EQ(SdkErrorText(-8), "Invalid filename specified");
    EXPECT_EQ(SdkErrorText(-9), "Invalid file format");
    EXPECT_EQ(SdkErrorText(-13), "Invalid parmameter passed");
    EXPECT_EQ(SdkErrorText(-14), "Not able to open file");
    EXPECT_EQ(SdkErrorText(-21), "Invalid QFactor specified");
    EXPECT_EQ(SdkErrorText(-27), "Invalid bits/pixel");
    EXPECT_EQ(SdkErrorText(-320), "Capture still in process");
    EXPECT_EQ(SdkErrorText(-321), "Invalid delay value");
    EXPECT_EQ(SdkErrorText(-322), "Invalid capture count");
    EXPECT_EQ(SdkErrorText(-323), "Invalid interval value");
    EXPECT_EQ(SdkErrorText(-324), "Hotkey cannot be the same as the cancel key");
    EXPECT_EQ(SdkErrorText(-325), "Wrong area type");
    EXPECT_EQ(SdkErrorText(-331), "Zero area size");
    EXPECT_EQ(SdkErrorText(-336), "No active window");
    EXPECT_EQ(SdkErrorText(-337), "Can't capture window");
    EXPECT_EQ(SdkErrorText(-916), "Invalid QFactor");
}

TEST(SdkErrorText, EveryCaptureCodeHasAText) {
    for (int code = -337; code <= -320; ++code)
        EXPECT_EQ(SdkErrorText(code).find("Undefined Error"), std::string::npos) << code;
}

TEST(SdkErrorText, SuccessIsEmptyAndUnknownCodesAreUndefined) {
    EXPECT_EQ(SdkErrorText(1), "");
    EXPECT_EQ(SdkErrorText(2), "Undefined Error: 2");
    EXPECT_EQ(SdkErrorText(-999), "Undefined Error: -999");
    EXPECT_EQ(SdkErrorText(-400000), "Undefined Error: -400000");
}
