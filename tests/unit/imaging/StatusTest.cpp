#include "imaging/Status.h"

#include <gtest/gtest.h>

using korvan::imaging::StatusText;

// The texts users see for the codes the imaging layer returns.
TEST(StatusText, QuotedCodesHaveTheirTexts) {
    EXPECT_EQ(StatusText(0), "Function not successful");
    EXPECT_EQ(StatusText(-1), "Not enough memory available");
    EXPECT_EQ(StatusText(-2), "Invalid bitmap handle");
    EXPECT_EQ(StatusText(-5), "Error writing file");
    EXPECT_EQ(StatusText(-8), "Invalid filename specified");
    EXPECT_EQ(StatusText(-9), "Invalid file format");
    EXPECT_EQ(StatusText(-13), "Invalid parmameter passed");
    EXPECT_EQ(StatusText(-14), "Not able to open file");
    EXPECT_EQ(StatusText(-21), "Invalid QFactor specified");
    EXPECT_EQ(StatusText(-27), "Invalid bits/pixel");
    EXPECT_EQ(StatusText(-320), "Capture still in process");
    EXPECT_EQ(StatusText(-321), "Invalid delay value");
    EXPECT_EQ(StatusText(-322), "Invalid capture count");
    EXPECT_EQ(StatusText(-323), "Invalid interval value");
    EXPECT_EQ(StatusText(-324), "Hotkey cannot be the same as the cancel key");
    EXPECT_EQ(StatusText(-325), "Wrong area type");
    EXPECT_EQ(StatusText(-331), "Zero area size");
    EXPECT_EQ(StatusText(-336), "No active window");
    EXPECT_EQ(StatusText(-337), "Can't capture window");
    EXPECT_EQ(StatusText(-916), "Invalid QFactor");
}

TEST(StatusText, EveryCaptureCodeHasAText) {
    for (int code = -337; code <= -320; ++code)
        EXPECT_EQ(StatusText(code).find("Undefined Error"), std::string::npos) << code;
}

TEST(StatusText, SuccessIsEmptyAndUnknownCodesAreUndefined) {
    EXPECT_EQ(StatusText(1), "");
    EXPECT_EQ(StatusText(2), "Undefined Error: 2");
    EXPECT_EQ(StatusText(-999), "Undefined Error: -999");
    EXPECT_EQ(StatusText(-400000), "Undefined Error: -400000");
}
