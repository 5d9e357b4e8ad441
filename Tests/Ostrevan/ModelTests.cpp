// Room values: names, art categories, visibility and looks, lookups, themes.
#include <Ostrevan/Model.hpp>
#include <Ostrevan/Themes.hpp>

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <utility>

using namespace ostrevan;

namespace {

// Every enumerator has its own name, parsed back exactly and case-sensitively.
template <typename Enum>
void expectNamesRoundTrip(std::size_t count, std::optional<Enum> (*parse)(std::string_view)) {
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<Enum>(i);
        const std::string_view text = name(value);
        EXPECT_TRUE(!text.empty() && seen.insert(text).second) << i;
        EXPECT_EQ(parse(text), value) << text;
        std::string shouted(text);
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
    expectNamesRoundTrip<Sfx>(kSfxCount, parseSfx);
    expectNamesRoundTrip<ItemKind>(kItemKindCount, parseItemKind);
    expectNamesRoundTrip<Tone>(kToneCount, parseTone);
    expectNamesRoundTrip<DoorStyle>(kDoorStyleCount, parseDoorStyle);
    EXPECT_EQ(parseItemKind("keyTop"), ItemKind::keyTop);
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

TEST(Themes, CatalogueAndStage) {
    const auto& cycle = Themes::cycle();
    ASSERT_EQ(cycle.size(), 16u);
    EXPECT_EQ(cycle[0], Themes::cream);
    EXPECT_EQ(cycle[3], Themes::terracotta);
    EXPECT_EQ(cycle[15], Themes::ivory);
    std::set<std::uint32_t> walls;
    for (const Theme& theme : cycle) walls.insert(theme.wall);
    EXPECT_EQ(walls.size(), 16u);
    const auto theme = [](std::optional<std::uint32_t> wall2) {
        return makeTheme(0x123456, wall2, 1, 2, FloorStyle::carpet, WallPattern::dots, CeilingStyle::plain, 3, 4);
    };
    EXPECT_EQ(theme(std::nullopt).wall2, 0x123456u);
    EXPECT_EQ(theme(0xABCDEF).wall2, 0xABCDEFu);
    EXPECT_EQ(Stage::doorRect.midX(), 500);
    EXPECT_EQ(Stage::doorRect.maxY(), Stage::horizon);
}
