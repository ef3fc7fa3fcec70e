// At 144 dots per inch the toolbar grows with the screen: buttons and pictures scale.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

TEST(Dpi, ToolbarScalesAt144DotsPerInch) {
    WriteDword(L"Control Panel\\Desktop", L"LogPixels", 144);
    Program program;
    RECT rect = program.ButtonRect(Id(Command::Desktop));
    EXPECT_EQ(rect.right - rect.left, 59);  // 39 at 96 dots per inch
    EXPECT_EQ(rect.bottom - rect.top, 57);  // 38
    RECT client{};
    ::GetClientRect(program.MainWindow(), &client);
    EXPECT_EQ(client.right, 8 + 10 * 59 + 8);
    SaveArtifact(program.MainWindow(), "main-window-144dpi");
}

} // namespace
} // namespace korvan::e2e
