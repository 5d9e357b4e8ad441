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
inline constexpr Hex kSilverLight = kDoorwayWhite;
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

// Item pictures. Metal without a tone is brass, with tone white silver; the steel of blades and
// shafts and the red of grips are shared with the door's bars and lamp.
inline constexpr Hex kItemBrassLight = kBrassLight;
inline constexpr Hex kItemBrassMid = 0xD9B04A;
inline constexpr Hex kItemBrassDark = 0x7A5C14;
inline constexpr Hex kItemSilverLight = kSilverLight;
inline constexpr Hex kItemSilverMid = 0xC9CED6;  // also the gear's own colour and fittings
inline constexpr Hex kItemSilverDark = kSilverDark;
inline constexpr Hex kSteelLit = kBarLit;
inline constexpr Hex kSteelShaded = kBarShaded;
inline constexpr Hex kSteelPale = kSilverMid;
inline constexpr Hex kGripRed = kLampRed;
inline constexpr Hex kGripRedDark = 0x9A1F24;
inline constexpr Hex kDarkPlastic = 0x15171B;
inline constexpr Hex kBatteryTop = 0x3A3F46;
inline constexpr Hex kChargeTop = 0x5CD16A, kChargeBottom = 0x2B8A3A;
inline constexpr Hex kLensGlass = 0xBFE6FF;
inline constexpr Hex kHandleWood = 0x5A3C20;
inline constexpr Hex kNetHandleTop = 0x8A5E36;
inline constexpr Hex kGunmetal = 0x4A4F58;
inline constexpr Hex kTorchBottom = 0x1C1E22;
inline constexpr Hex kPewter = 0x8A909A;
inline constexpr Hex kTorchBeam = 0xFFF2B8;
inline constexpr Hex kMatchStickTop = 0xE0B070, kMatchStickBottom = 0xA97A3C;
inline constexpr Hex kMatchHeadLight = 0xFFA0A0, kMatchHeadDark = 0x7A1418;
inline constexpr Hex kFuseGlassTop = 0xF2F4F8;
inline constexpr Hex kFuseCap = kBrassMid;
inline constexpr Hex kFuseWire = 0xDDE2E8;
inline constexpr Hex kCardTop = 0x3C78D8, kCardBottom = 0x1D3F8A, kCardStripe = 0x0C1224;
inline constexpr Hex kChipTop = kGoldTop, kChipBottom = 0xA07A1E;
inline constexpr Hex kStringLight = 0xFFF6D8, kStringMid = 0xE8D8A8, kStringDark = 0x9A8858;
inline constexpr Hex kPaperBottom = 0xE6E0CE;
inline constexpr Hex kBulbGlow = 0xFFE9A0, kBulbGlass = 0xFFF0B8, kBulbAmber = kGoldTop;
inline constexpr Hex kBucketLit = 0xB7BDC6, kBucketShaded = 0x6E7580;
inline constexpr Hex kBucketWater = 0x4AA8E0, kBucketInside = 0x2A2D33;
inline constexpr Hex kRemoteTop = 0x3A3E46;

// Floor art. First the woods, metals, stone, lights and water several floor pieces share, then
// each piece's own colours; tones come from toneHex.
inline constexpr Hex kWalnutLight = 0x9C6F42;     // cabinet carcass, radio body
inline constexpr Hex kWalnutDark = 0x5C3C20;      // their foot, and the chest body's
inline constexpr Hex kStandWoodLight = 0x7A5636;  // table legs, fish tank stand
inline constexpr Hex kStandWoodDark = 0x4A3320;
inline constexpr Hex kOakBoard = 0xB68858;        // table top, cabinet top board
inline constexpr Hex kLidWood = 0x7A5232;         // raised chest lid, swung cabinet doors
inline constexpr Hex kDarkOak = kHandleWood;      // barrel lid recess, trapdoor hatch foot
inline constexpr Hex kFurnitureFoot = 0x2B1D12;   // (43, 29, 18)
inline constexpr Hex kFittingGold = kItemBrassMid;  // lock plate, knobs, trapdoor ring
inline constexpr Hex kFittingGoldDark = kItemBrassDark;
inline constexpr Hex kStrapIron = kLampHousingTop;
inline constexpr Hex kBlackIron = 0x1A1A1E;       // (26, 26, 30): iron straps, piano
inline constexpr Hex kStoneLight = 0xD3CEC1;
inline constexpr Hex kStoneShade = 0x9A9588;
inline constexpr Hex kMarble = 0xE6E2D8;
inline constexpr Hex kInteriorGlow = kIconFloorLight;  // open chest, cabinet and safe
inline constexpr Hex kAmberGlow = 0xFFE08A;       // key in the tank, open trapdoor, dry fountain
inline constexpr Hex kPoolWater = kBucketWater;
// Vase, table, chest, cabinet, safe.
inline constexpr Hex kVaseMouth = 0x1A1410;
inline constexpr Hex kTableTopShade = 0x7C5834;
inline constexpr Hex kChestBodyLight = 0x9A6B3F;
inline constexpr Hex kChestInterior = 0x120C07;
inline constexpr Hex kChestLidShade = 0x4A2F18;
inline constexpr Hex kChestDomeLight = 0xAA7A4A, kChestDomeShade = 0x6A4426;
inline constexpr Hex kChestKeyhole = 0x4A3508;
inline constexpr Hex kCabinetInterior = 0x140D08;
inline constexpr Hex kCabinetShelf = kNetHandleTop;
inline constexpr Hex kCabinetDoorLight = 0xAD7E4E, kCabinetDoorShade = 0x77502C;
inline constexpr Hex kKnobBrassLight = 0xFFEFB0;
inline constexpr Hex kSafeBodyLight = 0x6D737C, kSafeBodyShade = 0x30343A;
inline constexpr Hex kSafeInterior = 0x0F1012;
inline constexpr Hex kSafeDoorLight = 0x8E949E, kSafeDoorShade = 0x4C515A;
inline constexpr Hex kSafeDialFace = 0xF4F6FA;
inline constexpr Hex kSafeHandle = 0xD9DDE3;
inline constexpr Hex kSafeKeySlot = kVentPlate;
inline constexpr Hex kSafeFoot = 0x1A1C20;        // (26, 28, 32)
// Fridge, barrel.
inline constexpr Hex kFridgeBodyLight = 0xF4F6F8, kFridgeBodyShade = 0xC7CCD3;
inline constexpr Hex kFridgeInside = 0xEAF4FF;
inline constexpr Hex kFridgeLightEdge = 0xBFE1FF;
inline constexpr Hex kFridgeShelf = 0x9CB0C2;     // (156, 176, 194)
inline constexpr Hex kFridgeDoor = 0xD9DEE4;
inline constexpr Hex kFridgeHandleLit = 0xB8BEC8, kFridgeHandleShaded = 0x6E7480;
inline constexpr Hex kFridgePlate = kFuseWire;
inline constexpr Hex kBarrelStaveDark = 0x6B4526, kBarrelStaveLit = 0xB07E4A;
inline constexpr Hex kBarrelOak = 0x8A5C32, kBarrelStaveShade = 0x4E3018;
inline constexpr Hex kHoopLit = 0x6A7078, kHoopShaded = 0x2C2F33;
inline constexpr Hex kTapNozzle = 0xA67F2C;
inline constexpr Hex kTapHandle = kLampRed;
// Rugs, dice.
inline constexpr Hex kRugThread = 0xF2E4C2;
inline constexpr Hex kRugLabel = 0xF6E9C8;
inline constexpr Hex kDieSide = 0xC9C5BA, kDieFaceShade = 0xE2DED2;
inline constexpr Hex kDieRedPip = 0xD33A3A;       // (211, 58, 58)
inline constexpr Hex kDiePip = kLampHousingBottom;
// Globe, fish tank.
inline constexpr Hex kGlobeLight = 0x9DD0F8, kGlobeBase = 0x3C7EC4, kGlobeDark = 0x16356A;
inline constexpr Hex kGlobeFootLit = kItemSilverMid;
inline constexpr Hex kTankWaterTop = 0x8DD8F0, kTankWaterBottom = 0x2E86B4;
inline constexpr Hex kTankSand = 0xD6C08A;
inline constexpr Hex kTankWeed = 0x2E9A4C;
// Floor lamp, radio.
inline constexpr Hex kFloorLampPole = 0x8A8E96, kFloorLampPoleShade = 0x3C4048;
inline constexpr Hex kFloorLampBaseShade = 0x2E3136;
inline constexpr Hex kFloorLampLitLeft = 0xFFE9B0, kFloorLampLitRight = 0xF2C265;
inline constexpr Hex kFloorLampOffLeft = 0xD8CFBA, kFloorLampOffRight = 0xA89E86;
inline constexpr Hex kRadioSpeaker = 0x2A1C10;
inline constexpr Hex kRadioGrille = 0xB08A5A;     // (176, 138, 90)
inline constexpr Hex kRadioDisplayOn = 0x06241A, kRadioDisplayOff = 0x1A1C1A;
inline constexpr Hex kRadioHalo = 0x4FFFA8, kRadioText = 0xCFFFE6;
inline constexpr Hex kRadioKnobDark = 0x6B4E14;
// Trapdoor, fountain, ice.
inline constexpr Hex kTrapdoorPit = 0x050403;
inline constexpr Hex kTrapdoorLid = 0x6A4A2A;
inline constexpr Hex kTrapdoorHatch = 0x8A6038;
inline constexpr Hex kTrapdoorHinge = 0x2A2A2E;
inline constexpr Hex kFountainFootLit = 0xB9B3A6, kFountainFootShade = 0x7A7568;
inline constexpr Hex kFountainDryPool = 0x4B4739;
inline constexpr Hex kFountainColumnShade = 0x8A8578;
inline constexpr Hex kFountainBowlLight = 0xF2EFE6, kFountainBowlMid = 0xC9C4B7, kFountainBowlDark = 0x6F6A5C;
inline constexpr Hex kIceGlow = 0xBFEFFF;
inline constexpr Hex kIceLight = 0xE2F6FF, kIceMid = 0x8FCDEB, kIcePale = 0xC9ECFA;
// Pedestal, boxes, plant, piano.
inline constexpr Hex kPedestalCapShade = 0xB4AFA2;
inline constexpr Hex kPedestalColumnLit = 0xD5D0C4;
inline constexpr Hex kPedestalPlinthShade = 0xA29D90;
inline constexpr Hex kCartonLit = 0xC9A06A, kCartonShaded = 0x9A7444;
inline constexpr Hex kCartonTape = 0xD9C089;
inline constexpr Hex kPlantLeaf = 0x2E8F4C;
inline constexpr Hex kPlantPotLit = 0xC0714A, kPlantPotShade = 0x7A3F25;
inline constexpr Hex kPlantRim = 0xD6845A;
inline constexpr Hex kPianoCaseTop = 0x2E2E34, kPianoCaseBottom = 0x0E0E11;
inline constexpr Hex kPianoBoardTop = 0x3A3A42;
inline constexpr Hex kPianoKeybed = 0x0A0A0C;
inline constexpr Hex kPianoKeyShade = 0xDAD6CA;
inline constexpr Hex kPianoBlackKey = 0x151518;   // (21, 21, 24)

// Wall art. Tones come from toneHex; hexes another piece already named are aliases of it.
// Framed tone pictures and lettering.
inline constexpr Hex kPictureFrame = 0x3C3430;
inline constexpr Hex kPicturePaper = 0xF2EEE4;
inline constexpr Hex kSumInk = 0x333333;
inline constexpr Hex kPlaqueTop = 0xE2BE6A, kPlaqueBottom = 0xA27E2E;
inline constexpr Hex kPlaqueEdge = 0x6A4F14, kPlaqueInk = 0x3E2C08;
inline constexpr Hex kSymbolStripTop = 0xDDB961, kSymbolStripBottom = 0x9C7A2E;
inline constexpr Hex kSymbolStripEdge = 0x5C430F, kSymbolStripInk = kChestKeyhole;
// Painting: frames, then each composition's paints.
inline constexpr Hex kFrameGilt = 0xB8893A, kFrameWalnut = 0x4A3422, kFrameEbony = 0x1F1F24;
inline constexpr Hex kFrameTeak = 0x6A4A2C, kFrameOak = 0x3A2A1C;
inline constexpr Hex kSunriseSkyTop = 0xF7A25A, kSunriseSkyBottom = 0xFFE6A6;
inline constexpr Hex kSunriseGlow = 0xFFF3C0, kSunriseSun = 0xFFFBE0, kSunriseHill = 0x3A5A44;
inline constexpr Hex kMountainSkyTop = 0x8DB5E0, kMountainSkyBottom = 0xE8F1FA;
inline constexpr Hex kMountainFar = 0x5C6C7E, kMountainNear = 0x46566A;
inline constexpr Hex kAbstractGround = 0xF2ECE0, kAbstractBar = 0x222222;
inline constexpr Hex kAbstractRed = 0xE0524A, kAbstractBlue = 0x2E6FD0, kAbstractYellow = 0xF2B632;
inline constexpr Hex kAbstractGreen = 0x2FA35F, kAbstractViolet = 0x8A56D2;
inline constexpr Hex kOceanSkyTop = 0xF8D9A0, kOceanSkyBottom = 0xFFF3DC;
inline constexpr Hex kOceanSeaTop = 0x3F8FB8, kOceanSeaBottom = 0x1B5A80, kOceanHull = 0x5A3A22;
inline constexpr Hex kPortraitTop = 0x6E7F6A, kPortraitBottom = 0x3E4A3C;
inline constexpr Hex kPortraitCoat = 0x2C2733, kPortraitSkin = 0xE9C9A6, kPortraitHair = kCeilingBoardsBottom;
inline constexpr Hex kForestSkyTop = 0xF4C46A, kForestSkyBottom = 0xFBE7B0;
inline constexpr Hex kForestRust = 0xC4562B, kForestMoss = 0x7A8F2B, kForestOchre = 0xD89A2B;
// Poster and note.
inline constexpr Hex kPosterPaperTop = 0xFBF8F0, kPosterPaperBottom = 0xEAE4D4, kPosterInk = 0x2C2824;
inline constexpr Hex kNotePaperTop = 0xFFEF9A, kNotePaperBottom = 0xF3D860, kNoteInk = 0x3A3320;
// Window and mirror.
inline constexpr Hex kWindowFrameTop = 0xF5F2EA, kWindowFrameBottom = 0xCFC9BB;
inline constexpr Hex kDaySkyTop = 0x6FB6F0, kDaySkyBottom = 0xD9EEFB, kSunHaze = 0xFFF6C8;
inline constexpr Hex kDayHill = 0x5AA34B;
inline constexpr Hex kNightSkyTop = 0x0B1230, kNightSkyBottom = 0x24366A;
inline constexpr Hex kMoon = 0xFFF6D6, kNightGround = 0x070B1C;
inline constexpr Hex kGlazingBar = 0xE9E4D8, kSillTop = kSilverLight;
inline constexpr Hex kMirrorFrameTop = 0xD8DCE4, kMirrorFrameBottom = 0x7C828E;
inline constexpr Hex kMirrorGlassPale = 0xDCEBF6, kMirrorGlassMid = 0xA9C0D4, kMirrorGlassBright = 0xE9F3FA;
inline constexpr Hex kMirrorInk = 0x2B3A52;
// Clock: the rim and cap share the door's brass, darker at the edge.
inline constexpr Hex kClockBrassDark = kRadioKnobDark;
inline constexpr Hex kClockDialCentre = 0xFFFDF5, kClockDialEdge = 0xE9E2D0;
inline constexpr Hex kClockInk = 0x2A2418, kClockHands = 0x1F1A10;
// Television.
inline constexpr Hex kTvCabinetTop = 0x303036, kTvCabinetBottom = kPianoCaseBottom;
inline constexpr Hex kTvWaitScreen = 0x07080B, kTvWaitText = 0x5BE0A0;
inline constexpr Hex kTvScreenOnTop = 0x0B2B22, kTvScreenOnBottom = 0x04120E;
inline constexpr Hex kTvTextGlow = 0x5BFFB0, kTvText = 0xB6FFDD;
inline constexpr Hex kTvScreenOffTop = 0x1B1D22, kTvScreenOffBottom = 0x0A0B0D;
// Panel face.
inline constexpr Hex kPanelBodyTop = 0xC3C8D0, kPanelBodyBottom = 0x7E848E;
inline constexpr Hex kPanelFaceTop = 0x23262B, kPanelFaceBottom = 0x15171A;
inline constexpr Hex kPanelSlot = 0x0B0C0E;
inline constexpr Hex kPanelSteelLit = kBarLit, kPanelLeverShade = 0x8A909C;
inline constexpr Hex kPanelDialLight = kFuseGlassTop, kPanelDialMid = 0x9CA2AC, kPanelDialDark = kGunmetal;
inline constexpr Hex kPanelPointer = 0x20242A;
inline constexpr Hex kPanelTile = 0xEFE9D8;
inline constexpr Hex kPanelScreen = kRadioDisplayOn, kPanelScreenText = kRadioHalo;
inline constexpr Hex kPanelCardSlot = 0x040405;
inline constexpr Hex kKeypadDigits = 0x4FE0A0;
inline constexpr Hex kKeypadKeyTop = kSilverDark, kKeypadKeyBottom = 0x3A3E45;
// Fuse box and vent.
inline constexpr Hex kFuseBoxTop = 0x8D939C, kFuseBoxBottom = 0x555A63;
inline constexpr Hex kFuseRecess = kSafeFoot;
inline constexpr Hex kFuseSlot = 0x050607;          // (5, 6, 7)
inline constexpr Hex kVentFrameTop = 0xB5BAC2, kVentFrameBottom = 0x7A808A;
inline constexpr Hex kVentDuct = 0x070809;
inline constexpr Hex kVentGlow = kAmberGlow;
inline constexpr Hex kVentKey = 0xE6BE55, kVentCover = 0x9AA0A8;
inline constexpr Hex kVentSlatTop = 0xCDD2D9, kVentSlatBottom = 0x8A9099;
inline constexpr Hex kScrewMid = 0xAEB4BC, kScrewDark = 0x555A62;
// Shelf and bookshelf.
inline constexpr Hex kShelfBoardTop = 0xA67C4F, kShelfBoardBottom = 0x6B4A2A;
inline constexpr Hex kShelfBracket = 0x3C2A18;
inline constexpr Hex kBookcaseTop = 0x8C6540, kBookcaseBottom = 0x5A3C22;
inline constexpr Hex kBookcaseBack = kRadioSpeaker;
// Glow, stamp, lamps.
inline constexpr Hex kGlowHalo = 0x7DFFB0, kGlowInnerHalo = 0x9DFFC6, kGlowCore = 0xE8FFF1;
inline constexpr Hex kStampCardTop = 0xFBF7EA, kStampCardBottom = 0xE9E1CB;
inline constexpr Hex kStampFrame = 0x7A5C9A, kStampInk = 0x5A3C8A;
inline constexpr Hex kStampPrint = 0x3C2C5A;        // (60, 44, 90)
inline constexpr Hex kLampBarTop = 0x3C3C44, kLampBarBottom = 0x18181C;
inline constexpr Hex kLampHalo = 0xFFD36A;
inline constexpr Hex kLampLitLight = kTorchBeam, kLampLitMid = 0xFFC845, kLampLitDark = 0xD18A12;
inline constexpr Hex kLampUnlitLight = 0x6A5D44, kLampUnlitMid = 0x3A3226, kLampUnlitDark = 0x1A150E;
// Switch plate, sockets, gear slot, arrows.
inline constexpr Hex kSwitchPlateTop = 0xF5F3EE, kSwitchPlateBottom = 0xD4D0C6;
inline constexpr Hex kRockerOnTop = kSilverLight, kRockerOnBottom = 0xD9D5CA;
inline constexpr Hex kRockerOffTop = kWhiteBottom, kRockerOffBottom = 0xA9A599;
inline constexpr Hex kSwitchGlow = kBulbGlow;
inline constexpr Hex kSocketLight = kBarLit, kSocketMid = kSafeDoorLight, kSocketDark = kSafeDoorShade;
inline constexpr Hex kSocketHole = 0x0E0F12;
inline constexpr Hex kGearPlateTop = 0x6F747C, kGearPlateBottom = 0x3E4249;
inline constexpr Hex kGearRecess = 0x16181B, kGearBrass = 0xD9A93A, kGearGhost = kBucketInside;
inline constexpr Hex kArrowsInk = kAbstractBar;

}  // namespace tallowmere::palette
