// The sixteen room themes.
#pragma once

#include <Ostrevan/Model.hpp>

#include <vector>

namespace ostrevan::Themes {

inline constexpr Theme cream{0xEFE6D6, 0xD9CDB8, 0x2A2420, 0x6E6358, FloorStyle::checker, WallPattern::panel, CeilingStyle::beams, 0xE8E2D6, 0xFFE9C4};
inline constexpr Theme sage{0xB7C4AC, 0x9FB093, 0x5B4332, 0x7A5C45, FloorStyle::planks, WallPattern::stripes, CeilingStyle::beams, 0xF1EEE4, 0xFFE9C4};
inline constexpr Theme navy{0x35475F, 0x28364A, 0x1B1F26, 0x3A4250, FloorStyle::tiles, WallPattern::dots, CeilingStyle::beams, 0xC9D2E0, 0xCFE0FF};
inline constexpr Theme terracotta{0xCB8E6E, 0xB2765A, 0x3B2B24, 0x5B4338, FloorStyle::planks, WallPattern::panel, CeilingStyle::beams, 0xF2E3D4, 0xFFE9C4};
inline constexpr Theme teal{0x5F9296, 0x477A7E, 0x1F2A2B, 0x3F5557, FloorStyle::checker, WallPattern::stripes, CeilingStyle::beams, 0xDDEBEA, 0xFFE9C4};
inline constexpr Theme plum{0x5E4160, 0x48304A, 0x201722, 0x45344A, FloorStyle::carpet, WallPattern::panel, CeilingStyle::beams, 0xE0D2E2, 0xF0D8FF};
inline constexpr Theme brick{0xA9604C, 0x8C4A39, 0x2B2622, 0x4B423B, FloorStyle::tiles, WallPattern::brick, CeilingStyle::beams, 0xE5D8C8, 0xFFE9C4};
inline constexpr Theme slate{0x56626E, 0x434E58, 0x23282D, 0x3E464E, FloorStyle::tiles, WallPattern::plain, CeilingStyle::plain, 0xBFC8D0, 0xDDEBFF};
inline constexpr Theme mustard{0xD7B25A, 0xBF9A45, 0x2C2218, 0x5A4733, FloorStyle::checker, WallPattern::dots, CeilingStyle::beams, 0xF6EBCB, 0xFFE9C4};
inline constexpr Theme rose{0xD9A7A8, 0xC48D8F, 0x3B2B2E, 0x6A5155, FloorStyle::checker, WallPattern::stripes, CeilingStyle::beams, 0xF8EBEA, 0xFFE9C4};
inline constexpr Theme forest{0x3F5B48, 0x2F4838, 0x1E1A15, 0x40362B, FloorStyle::planks, WallPattern::panel, CeilingStyle::beams, 0xD3DECB, 0xE6F4D0};
inline constexpr Theme charcoal{0x3A3A40, 0x2B2B30, 0x141416, 0x2F2F35, FloorStyle::tiles, WallPattern::plain, CeilingStyle::plain, 0xB9B9C2, 0xFFFFFF};
inline constexpr Theme sand{0xE3D3B1, 0xCDBB95, 0x6B5A44, 0x8C7A61, FloorStyle::planks, WallPattern::plain, CeilingStyle::beams, 0xFBF5E6, 0xFFE9C4};
inline constexpr Theme ocean{0x3F7FA1, 0x2F6684, 0x18262F, 0x2E4756, FloorStyle::carpet, WallPattern::stripes, CeilingStyle::beams, 0xDCEBF3, 0xD8F0FF};
inline constexpr Theme wine{0x7A2F3A, 0x5F2230, 0x1D1214, 0x3B2528, FloorStyle::checker, WallPattern::panel, CeilingStyle::beams, 0xEBD8D8, 0xFFE9C4};
inline constexpr Theme ivory{0xF3EFE6, 0xE1DBCB, 0x8A8D91, 0xC2C5C9, FloorStyle::tiles, WallPattern::plain, CeilingStyle::plain, 0xFFFFFF, 0xFFF6E0};

// All sixteen, in the order above.
const std::vector<Theme>& cycle();

}  // namespace ostrevan::Themes
