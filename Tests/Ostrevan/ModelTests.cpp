// Room values: names, art categories, visibility and looks, lookups, themes.
#include <Ostrevan/Model.hpp>
#include <Ostrevan/Themes.hpp>

#include <gtest/gtest.h>

#include <cctype>
#include <tuple>
#include <utility>

using namespace ostrevan;

namespace {

// Each enumerator's name is the one written here, in declaration order, and parses back only
// spelled exactly so.
template <typename Enum>
void expectNames(const std::vector<std::string_view>& names, std::optional<Enum> (*parse)(std::string_view)) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto value = static_cast<Enum>(i);
        EXPECT_EQ(name(value), names[i]) << i;
        EXPECT_EQ(parse(names[i]), value) << names[i];
        std::string shouted(names[i]);
        shouted[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shouted[0])));
        EXPECT_EQ(parse(shouted), std::nullopt) << shouted;
    }
    EXPECT_EQ(parse(""), std::nullopt);
}

template <std::size_t... I>
std::vector<Art> everyArtCase(std::index_sequence<I...>) {
    return {Art(std::in_place_index<I>)...};
}

}  // namespace

TEST(Model, NamesAreExactAndCaseSensitive) {
    expectNames<Sfx>({"tap", "pickup", "unlock", "wrong", "open", "power", "success", "combine", "splash"}, parseSfx);
    expectNames<ItemKind>({"key", "keyTop", "keyBlade", "coin", "battery", "screwdriver", "magnifier", "torch",
                           "match", "crank", "fuse", "card", "orb", "net", "magnet", "string", "wrench", "scissors",
                           "paper", "gear", "bulb", "bucket", "gem", "remote"},
                          parseItemKind);
    expectNames<Tone>({"red", "orange", "yellow", "green", "blue", "purple", "pink", "cyan", "white", "black", "brown"},
                      parseTone);
    expectNames<DoorStyle>({"wood", "orange", "steel", "red", "green", "blue", "glass", "white", "black", "gold"},
                           parseDoorStyle);
    EXPECT_EQ(parseItemKind("keytop"), std::nullopt);
    ASSERT_EQ(allTones().size(), kToneCount);
    EXPECT_EQ(allTones().back(), Tone::brown);

    EXPECT_EQ(paintStyleFromRaw(0), PaintStyle::sunrise);
    EXPECT_EQ(paintStyleFromRaw(5), PaintStyle::forest);
    EXPECT_EQ(paintStyleFromRaw(6), std::nullopt);
    EXPECT_EQ(paintStyleFromRaw(-1), std::nullopt);
}

TEST(Model, ArtCategoriesDependOnTheCaseAlone) {
    int wall = 0, standing = 0, flat = 0;
    for (const Art& art : everyArtCase(std::make_index_sequence<kArtCaseCount>())) {
        wall += isWallPiece(art);
        standing += standsOnFloor(art);
        flat += isFlat(art);
        EXPECT_LE(isWallPiece(art) + standsOnFloor(art) + isFlat(art), 1) << art.index();
    }
    EXPECT_EQ(kArtCaseCount, 52u);
    EXPECT_EQ(wall, 26);
    EXPECT_EQ(standing, 20);
    EXPECT_EQ(flat, 4);
    EXPECT_FALSE(standsOnFloor(art::None{}) || isFlat(art::None{}) || isWallPiece(art::None{}));
    EXPECT_FALSE(standsOnFloor(art::Item{}) || isFlat(art::Item{}));
    EXPECT_TRUE(standsOnFloor(art::Table{}) && isFlat(art::Dice{}) && isWallPiece(art::Arrows{"<>"}));
}

TEST(Model, VisibilityAndCurrentArt) {
    struct Case { std::vector<std::string> show, hide; FlagSet flags; bool visible; };
    const Case cases[] = {
        {{}, {}, {}, true},           {{"f"}, {}, {}, false},          {{"f"}, {}, {"f"}, true},
        {{"f", "h"}, {}, {"f"}, false}, {{"f"}, {"g"}, {"f", "g"}, false}, {{}, {"g", "k"}, {"k"}, false},
        {{"f"}, {"f"}, {"f"}, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Prop prop;
        prop.showWhen = cases[i].show;
        prop.hideWhen = cases[i].hide;
        EXPECT_EQ(prop.isVisible(cases[i].flags), cases[i].visible) << "case " << i;
    }

    Prop prop;
    prop.art = art::Safe{false};
    prop.states = {{{"f", "g"}, art::Safe{true}}, {{"f"}, art::Cabinet{true}}};
    EXPECT_EQ(prop.currentArt({"g"}), Art(art::Safe{false}));
    EXPECT_EQ(prop.currentArt({"f"}), Art(art::Cabinet{true}));
    EXPECT_EQ(prop.currentArt({"f", "g"}), Art(art::Safe{true}));
    // A state with no flags always matches and hides every state after it.
    prop.states.insert(prop.states.begin() + 1, PropState{{}, art::Globe{}});
    EXPECT_EQ(prop.currentArt({"f"}), Art(art::Globe{}));
    EXPECT_EQ(prop.currentArt({"f", "g"}), Art(art::Safe{true}));
}

TEST(Model, LevelLookups) {
    Level level;
    level.props.resize(3);
    level.props[0].id = level.props[1].id = "twin";
    level.items["key"] = Item{"key", "Key", ItemKind::key, std::nullopt};
    EXPECT_EQ(level.prop("twin"), &level.props[0]);
    EXPECT_EQ(level.prop("none"), nullptr);
    EXPECT_EQ(level.item("key")->name, "Key");
    EXPECT_EQ(level.item("Key"), nullptr);
    // Animation is found in the base art or in any state, whatever its tones.
    EXPECT_FALSE(level.hasAnimatedProps());
    level.props[2].states = {{{"on"}, art::TvFlash{}}};
    EXPECT_TRUE(level.hasAnimatedProps());
}

TEST(Themes, CatalogueFieldByField) {
    using F = FloorStyle;
    using W = WallPattern;
    using C = CeilingStyle;
    struct Row {
        const char* name;
        const Theme& theme;
        std::uint32_t wall, wall2, floor1, floor2;
        F floor;
        W pattern;
        C ceiling;
        std::uint32_t trim, light;
    };
    const Row rows[] = {
        {"cream", Themes::cream, 0xEFE6D6, 0xD9CDB8, 0x2A2420, 0x6E6358, F::checker, W::panel, C::beams, 0xE8E2D6, 0xFFE9C4},
        {"sage", Themes::sage, 0xB7C4AC, 0x9FB093, 0x5B4332, 0x7A5C45, F::planks, W::stripes, C::beams, 0xF1EEE4, 0xFFE9C4},
        {"navy", Themes::navy, 0x35475F, 0x28364A, 0x1B1F26, 0x3A4250, F::tiles, W::dots, C::beams, 0xC9D2E0, 0xCFE0FF},
        {"terracotta", Themes::terracotta, 0xCB8E6E, 0xB2765A, 0x3B2B24, 0x5B4338, F::planks, W::panel, C::beams, 0xF2E3D4, 0xFFE9C4},
        {"teal", Themes::teal, 0x5F9296, 0x477A7E, 0x1F2A2B, 0x3F5557, F::checker, W::stripes, C::beams, 0xDDEBEA, 0xFFE9C4},
        {"plum", Themes::plum, 0x5E4160, 0x48304A, 0x201722, 0x45344A, F::carpet, W::panel, C::beams, 0xE0D2E2, 0xF0D8FF},
        {"brick", Themes::brick, 0xA9604C, 0x8C4A39, 0x2B2622, 0x4B423B, F::tiles, W::brick, C::beams, 0xE5D8C8, 0xFFE9C4},
        {"slate", Themes::slate, 0x56626E, 0x434E58, 0x23282D, 0x3E464E, F::tiles, W::plain, C::plain, 0xBFC8D0, 0xDDEBFF},
        {"mustard", Themes::mustard, 0xD7B25A, 0xBF9A45, 0x2C2218, 0x5A4733, F::checker, W::dots, C::beams, 0xF6EBCB, 0xFFE9C4},
        {"rose", Themes::rose, 0xD9A7A8, 0xC48D8F, 0x3B2B2E, 0x6A5155, F::checker, W::stripes, C::beams, 0xF8EBEA, 0xFFE9C4},
        {"forest", Themes::forest, 0x3F5B48, 0x2F4838, 0x1E1A15, 0x40362B, F::planks, W::panel, C::beams, 0xD3DECB, 0xE6F4D0},
        {"charcoal", Themes::charcoal, 0x3A3A40, 0x2B2B30, 0x141416, 0x2F2F35, F::tiles, W::plain, C::plain, 0xB9B9C2, 0xFFFFFF},
        {"sand", Themes::sand, 0xE3D3B1, 0xCDBB95, 0x6B5A44, 0x8C7A61, F::planks, W::plain, C::beams, 0xFBF5E6, 0xFFE9C4},
        {"ocean", Themes::ocean, 0x3F7FA1, 0x2F6684, 0x18262F, 0x2E4756, F::carpet, W::stripes, C::beams, 0xDCEBF3, 0xD8F0FF},
        {"wine", Themes::wine, 0x7A2F3A, 0x5F2230, 0x1D1214, 0x3B2528, F::checker, W::panel, C::beams, 0xEBD8D8, 0xFFE9C4},
        {"ivory", Themes::ivory, 0xF3EFE6, 0xE1DBCB, 0x8A8D91, 0xC2C5C9, F::tiles, W::plain, C::plain, 0xFFFFFF, 0xFFF6E0},
    };
    const auto& cycle = Themes::cycle();
    ASSERT_EQ(cycle.size(), std::size(rows));
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        const Row& row = rows[i];
        const Theme& theme = row.theme;
        SCOPED_TRACE(row.name);
        EXPECT_EQ(cycle[i], theme) << "the cycle runs in table order";
        const std::tuple<const char*, std::uint32_t, std::uint32_t> colours[] = {
            {"wall", theme.wall, row.wall},       {"wall2", theme.wall2, row.wall2}, {"floor1", theme.floor1, row.floor1},
            {"floor2", theme.floor2, row.floor2}, {"trim", theme.trim, row.trim},    {"light", theme.light, row.light},
        };
        for (const auto& [field, got, wanted] : colours) {
            EXPECT_EQ(got, wanted) << field << ' ' << std::hex << got << " instead of " << wanted;
        }
        EXPECT_EQ(theme.floorStyle, row.floor);
        EXPECT_EQ(theme.pattern, row.pattern);
        EXPECT_EQ(theme.ceiling, row.ceiling);
    }
    const auto theme = [](std::optional<std::uint32_t> wall2) {
        return makeTheme(0x123456, wall2, 1, 2, FloorStyle::carpet, WallPattern::dots, CeilingStyle::plain, 3, 4);
    };
    EXPECT_EQ(theme(std::nullopt).wall2, 0x123456u);
    EXPECT_EQ(theme(0xABCDEF).wall2, 0xABCDEFu);
    EXPECT_EQ(Stage::doorRect.midX(), 500);
    EXPECT_EQ(Stage::doorRect.maxY(), Stage::horizon);
}
