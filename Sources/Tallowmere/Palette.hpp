// The fixed colours of the room art, each named once as 0xRRGGBB. Lighter and darker variants
// come from H(colour, shade, opacity); themes and tones bring their own colours.
#pragma once

#include <cstdint>

namespace tallowmere::palette {

using Hex = std::uint32_t;

// Ceiling with beams.
inline constexpr Hex kCeilingBoardsTop = 0x2B1E15;
inline constexpr Hex kCeilingBoardsBottom = 0x4A3322;
inline constexpr Hex kJoistLit = 0x5C412B;    // (92, 65, 43)
inline constexpr Hex kJoistShaded = 0x3A2819; // (58, 40, 25)
inline constexpr Hex kCrossBeamTop = 0x7A5A3C;
inline constexpr Hex kCrossBeamBottom = 0x4C351F;

// Door casing, doorway and lamp.
inline constexpr Hex kCasingTop = 0x2E2520;
inline constexpr Hex kCasingBottom = 0x1B1512;
inline constexpr Hex kDoorwayDark = 0x14100E;
inline constexpr Hex kDoorwayWarm = 0xFFF3D2;
inline constexpr Hex kDoorwayWhite = 0xFFFFFF;
inline constexpr Hex kLampHousingTop = 0x3A3A40;
inline constexpr Hex kLampHousingBottom = 0x1C1C20;
inline constexpr Hex kLampGreen = 0x4FE08A;
inline constexpr Hex kLampRed = 0xE5474B;

// Door leaf bodies, top and bottom of their gradient, in DoorStyle order.
inline constexpr Hex kWoodTop = 0x5E3A27, kWoodBottom = 0x3A2217, kWoodPanel = 0x5A3623;
inline constexpr Hex kOrangeTop = 0xF08A2C, kOrangeBottom = 0xC85F12, kOrangePanel = 0xE8761E;
inline constexpr Hex kSteelTop = 0xB5BAC0, kSteelBottom = 0x848A92;
inline constexpr Hex kRedTop = 0xB8302B, kRedBottom = 0x82201E;
inline constexpr Hex kGreenTop = 0x93A332, kGreenBottom = 0x66761F;
inline constexpr Hex kBlueTop = 0x3F6FBA, kBlueBottom = 0x254C86, kBluePanel = 0x3869B4;
inline constexpr Hex kGlassFrameTop = 0xD5AE55, kGlassFrameBottom = 0x9C7A2C;
inline constexpr Hex kWhiteTop = 0xF4F2EC, kWhiteBottom = 0xCFCBC0, kWhitePanel = 0xEFEDE6;
inline constexpr Hex kBlackTop = 0x2A2A30, kBlackBottom = 0x121216;
inline constexpr Hex kGoldTop = 0xE6C45E, kGoldBottom = 0xB48A28;

// Door leaf features.
inline constexpr Hex kVentPlate = 0x2A2D32;
inline constexpr Hex kLouvre = 0x0C0D0F;  // (12, 13, 15)
inline constexpr Hex kRedWindow = 0xF0E6D2;
inline constexpr Hex kRedGlazing = 0x6E1B18;
inline constexpr Hex kRedLowerPanel = 0x9C2724;
inline constexpr Hex kGlassPaneTop = 0x1E2630;
inline constexpr Hex kGlassPaneBottom = 0x0B0E12;
inline constexpr Hex kGlassPaneEdge = 0x6B531C;
inline constexpr Hex kGoldFrame = 0x7A5A12;

// Door fittings and number plate.
inline constexpr Hex kBrassLight = 0xFFE9A8;
inline constexpr Hex kBrassMid = 0xC9A24A;
inline constexpr Hex kBrassDark = 0x7A5C1E;
inline constexpr Hex kSilverLight = 0xFFFFFF;
inline constexpr Hex kSilverMid = 0xB9BEC6;
inline constexpr Hex kSilverDark = 0x6C727C;
inline constexpr Hex kBarLit = 0xE8ECF2;
inline constexpr Hex kBarShaded = 0x7B828E;
inline constexpr Hex kPlateTop = 0x2C2C32;
inline constexpr Hex kPlateBottom = 0x15151A;

// Scene.
inline constexpr Hex kLightPool = 0xFFF1C2;
inline constexpr Hex kWarmGlow = 0xFFD98A;  // hover ring halo, icon glow
inline constexpr Hex kHoverLine = 0xFFF2CC;

// Application icon.
inline constexpr Hex kIconTileTop = 0x2F2218;
inline constexpr Hex kIconTileBottom = 0x0B0806;
inline constexpr Hex kIconFloorLight = 0xFFE3A0;

}  // namespace tallowmere::palette
