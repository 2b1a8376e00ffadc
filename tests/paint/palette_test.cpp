#include <gtest/gtest.h>

#include "quelt/core/exceptions.h"
#include "quelt/paint/palette.h"
#include "quelt/testing/palette.h"

namespace quelt {
namespace {

// Installs a fixed system palette for one test and takes it away after.
class PaletteTest : public ::testing::Test {
  protected:
    void SetUp() override { SetSysPallete(&m_system); }
    void TearDown() override { SetSysPallete(nullptr); }

    quelt::testing::FixedSysPalette m_system;
};

TEST_F(PaletteTest, DefaultPaletteAnswersBuiltInRolesFromTheSystem) {
    ICustomPalette *palette = GetDefaultPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette, GetDefaultPalette());
    EXPECT_EQ(GetSysPallete(), &m_system);
    m_system.SetColor(7, _color(1, 2, 3, 4));
    for (int role = 1; role <= 12; ++role)
        EXPECT_EQ(palette->GetColor(role), m_system.GetColor(role)) << role;
    EXPECT_EQ(palette->GetColor(7), _color(1, 2, 3, 4));
    EXPECT_EQ(m_system.Calls(7), 3);

    // Setting does nothing, and the process-wide object outlives a Release.
    palette->SetColor(3, color_red);
    palette->AddRef();
    palette->Release();
    EXPECT_EQ(palette->GetColor(3), m_system.GetColor(3));
    for (int role : {0, 13, -1, 1000}) EXPECT_THROW(palette->GetColor(role), BadColorIndex) << role;
}

TEST_F(PaletteTest, CustomPaletteOverridesAndExtendsTheSystem) {
    quelt_ptr<ICustomPaletteEx> palette = CreateCustomPalette();
    ASSERT_NE(palette.get(), nullptr);
    EXPECT_EQ(palette->GetColor(11), m_system.GetColor(11));
    palette->SetColor(11, color_gold);
    palette->SetColor(20, color_tan);
    m_system.ResetCalls();
    EXPECT_EQ(palette->GetColor(11), color_gold);
    EXPECT_EQ(palette->GetColor(20), color_tan);
    EXPECT_EQ(m_system.Calls(), 0);
    palette->SetColor(20, color_pink);
    EXPECT_EQ(palette->GetColor(20), color_pink);
    EXPECT_THROW(palette->GetColor(21), BadColorIndex);
    EXPECT_THROW(palette->GetColor(0), BadColorIndex);
}

TEST_F(PaletteTest, WithoutASystemPaletteBuiltInRolesAreUndefined) {
    SetSysPallete(nullptr);
    EXPECT_EQ(GetSysPallete(), nullptr);
    EXPECT_TRUE(GetDefaultPalette()->GetColor(3).IsColorUndefined());
    CCustomPalette palette;
    EXPECT_TRUE(palette.GetColor(12).IsColorUndefined());
    palette.SetColor(12, color_blue);
    EXPECT_EQ(palette.GetColor(12), color_blue);
    EXPECT_THROW(GetDefaultPalette()->GetColor(13), BadColorIndex);
    EXPECT_THROW(palette.GetColor(13), BadColorIndex);
}

}  // namespace
}  // namespace quelt
