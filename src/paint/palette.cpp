#include "quelt/paint/palette.h"

#include "quelt/core/exceptions.h"

namespace quelt {

namespace {

ISysPalette *g_sysPalette = nullptr;

bool IsSystemRole(int role) { return role >= FirstSystemRole && role <= LastSystemRole; }

// With no system palette installed a built-in role has no colour yet; the
// undefined colour tells callers to fall back on their defaults.
_color SystemColor(int role) { return g_sysPalette ? g_sysPalette->GetColor(role) : _color(); }

struct BevelPercents {
    int light, highlight, shadow, darkShadow;
};

BevelPercents BevelFor(double lightness) {
    if (lightness > 0.7) return {100, 66, 60, 80};
    if (lightness >= 0.33) return {70, 40, 40, 70};
    return {80, 50, 80, 100};
}

}  // namespace

ISysPalette::~ISysPalette() = default;

void DefaultPalette::AddRef() {}
void DefaultPalette::Release() {}

_color DefaultPalette::GetColor(int role) {
    if (!IsSystemRole(role)) throw BadColorIndex();
    return SystemColor(role);
}

void DefaultPalette::SetColor(int, _color) {}

CCustomPalette::CCustomPalette() = default;
CCustomPalette::~CCustomPalette() = default;

_color CCustomPalette::GetColor(int role) {
    const auto it = m_colors.find(role);
    if (it != m_colors.end()) return it->second;
    if (!IsSystemRole(role)) throw BadColorIndex();
    return SystemColor(role);
}

void CCustomPalette::SetColor(int role, _color color) { m_colors[role] = color; }

void CCustomPalette::SetBaseColor(_color color) {
    double l, s, h;
    color.GetHLS(l, s, h);
    const BevelPercents p = BevelFor(l);
    SetColor(RoleFace, color);
    SetColor(RoleLight, color.Lighter(p.light));
    SetColor(RoleHighlight, color.Lighter(p.highlight));
    SetColor(RoleShadow, color.Darker(p.shadow));
    SetColor(RoleDarkShadow, color.Darker(p.darkShadow));
}

void SetSysPallete(ISysPalette *palette) { g_sysPalette = palette; }

ISysPalette *GetSysPallete() { return g_sysPalette; }

ICustomPalette *GetDefaultPalette() {
    static DefaultPalette palette;
    return &palette;
}

quelt_ptr<ICustomPaletteEx> CreateCustomPalette() { return quelt_ptr<ICustomPaletteEx>(new CCustomPalette); }

}  // namespace quelt
