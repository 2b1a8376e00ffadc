#include <gtest/gtest.h>

#include <vector>

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

// Records the roles in the order SetBaseColor sets them.
class OrderedPalette : public CCustomPalette {
  public:
    void SetColor(int role, _color color) override {
        roles.push_back(role);
        CCustomPalette::SetColor(role, color);
    }
    std::vector<int> roles;
};

TEST_F(PaletteTest, BaseColourDerivesTheBevelByLightness) {
    const struct {
        _color base;
        _color light, highlight, shadow, darkShadow;
    } cases[] = {
        {color_white, color_white, color_white, {102, 102, 102, 255}, {50, 50, 50, 255}},
        // Lighter(100) is white exactly.
        {{212, 208, 200, 255}, color_white, {240, 239, 236, 255}, {92, 85, 72, 255}, {46, 42, 36, 255}},
        {{128, 64, 64, 9}, {223, 191, 191, 255}, {191, 127, 127, 255}, {76, 38, 38, 255}, {38, 19, 19, 255}},
        {{30, 30, 30, 255}, {210, 210, 210, 255}, {142, 142, 142, 255}, {6, 6, 6, 255}, {0, 0, 0, 255}},
    };
    for (const auto &t : cases) {
        OrderedPalette palette;
        palette.SetBaseColor(t.base);
        EXPECT_EQ(palette.roles, (std::vector<int>{3, 4, 5, 6, 7}));
        EXPECT_EQ(palette.GetColor(3), t.base);
        EXPECT_EQ(palette.GetColor(4), t.light);
        EXPECT_EQ(palette.GetColor(5), t.highlight);
        EXPECT_EQ(palette.GetColor(6), t.shadow);
        EXPECT_EQ(palette.GetColor(7), t.darkShadow);
        EXPECT_EQ(palette.GetColor(2), m_system.GetColor(2));
    }
}

}  // namespace
}  // namespace quelt
