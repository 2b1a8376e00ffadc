#pragma once

#include <map>

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/paint/color.h"

namespace quelt {

// Palette roles the library draws with; 1 to 12 are the built-in roles, the
// others answered by the system palette mean what the platform decides.
enum PaletteRole : int {
    RoleFace = 3,
    RoleLight = 4,
    RoleHighlight = 5,
    RoleShadow = 6,
    RoleDarkShadow = 7,
    RoleTooltipBack = 11,
    RoleTooltipText = 12,
};
constexpr int FirstSystemRole = 1;
constexpr int LastSystemRole = 12;

// The platform's colours for the built-in roles; installed with SetSysPallete.
class QUELT_API ISysPalette {
  public:
    virtual ~ISysPalette();
    virtual _color GetColor(int role) = 0;
};

class QUELT_API ICustomPalette : public CBase {
  public:
    virtual _color GetColor(int role) = 0;
    virtual void SetColor(int role, _color color) = 0;
};

class QUELT_API ICustomPaletteEx : public ICustomPalette {
  public:
    // Derives the face and the four bevel edges from one face colour.
    virtual void SetBaseColor(_color color) = 0;
};

// Answers the built-in roles from the system palette; it stores nothing, and
// as a process-wide object it ignores AddRef and Release.
class QUELT_API DefaultPalette : public ICustomPalette {
  public:
    void AddRef() override;
    void Release() override;
    // Throws BadColorIndex for a role outside 1..12.
    _color GetColor(int role) override;
    void SetColor(int role, _color color) override;
};

// Roles set on it override the system palette; roles outside 1..12 become
// valid once set.
class QUELT_API CCustomPalette : public ICustomPaletteEx {
  public:
    CCustomPalette();
    ~CCustomPalette() override;

    // Throws BadColorIndex for a role neither set nor built in.
    _color GetColor(int role) override;
    void SetColor(int role, _color color) override;
    void SetBaseColor(_color color) override;

  private:
    std::map<int, _color> m_colors;
};

// The platform's palette, not owned; null until the platform installs one.
QUELT_API void SetSysPallete(ISysPalette *palette);
QUELT_API ISysPalette *GetSysPallete();
// The one default palette, created on first use; never released by callers.
QUELT_API ICustomPalette *GetDefaultPalette();
// A new empty custom palette; std::bad_alloc when it cannot be had.
QUELT_API quelt_ptr<ICustomPaletteEx> CreateCustomPalette();

}  // namespace quelt
