// Room values: names, art categories, visibility and looks, lookups, themes.
#include <Ostrevan/Model.hpp>
#include <Ostrevan/Themes.hpp>

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <set>
#include <utility>

using namespace ostrevan;

namespace {

template <typename Enum>
void expectNamesRoundTrip(std::size_t count, std::optional<Enum> (*parse)(std::string_view)) {
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<Enum>(i);
        const std::string_view text = name(value);
        EXPECT_FALSE(text.empty()) << i;
        EXPECT_TRUE(seen.insert(text).second) << text;
        EXPECT_EQ(parse(text), value) << text;
        std::string shouted(text);
        shouted[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shouted[0])));
        EXPECT_EQ(parse(shouted), std::nullopt) << shouted;
        EXPECT_EQ(parse(std::string(text) + " "), std::nullopt) << text;
    }
    EXPECT_EQ(parse(""), std::nullopt);
}

template <std::size_t... I>
std::vector<Art> everyArtCase(std::index_sequence<I...>) {
    return {Art(std::in_place_index<I>)...};
}

Prop propWith(std::vector<std::string> showWhen, std::vector<std::string> hideWhen) {
    Prop prop;
    prop.id = "p";
    prop.showWhen = std::move(showWhen);
    prop.hideWhen = std::move(hideWhen);
    return prop;
}

}  // namespace

TEST(Model, NamesAreExactAndCaseSensitive) {
    expectNamesRoundTrip<Sfx>(kSfxCount, parseSfx);
    expectNamesRoundTrip<ItemKind>(kItemKindCount, parseItemKind);
    expectNamesRoundTrip<Tone>(kToneCount, parseTone);
    expectNamesRoundTrip<DoorStyle>(kDoorStyleCount, parseDoorStyle);

    EXPECT_EQ(name(ItemKind::keyTop), "keyTop");
    EXPECT_EQ(parseItemKind("keytop"), std::nullopt);
    EXPECT_EQ(parseTone("red"), Tone::red);
    EXPECT_EQ(parseTone("Red"), std::nullopt);
    EXPECT_EQ(name(Tone::brown), "brown");
    EXPECT_EQ(name(DoorStyle::gold), "gold");
    EXPECT_EQ(name(Sfx::splash), "splash");

    ASSERT_EQ(allTones().size(), kToneCount);
    for (std::size_t i = 0; i < kToneCount; ++i) EXPECT_EQ(allTones()[i], static_cast<Tone>(i));

    EXPECT_EQ(paintStyleFromRaw(0), PaintStyle::sunrise);
    EXPECT_EQ(paintStyleFromRaw(5), PaintStyle::forest);
    for (const std::int64_t raw : {std::int64_t{6}, std::int64_t{-1}, std::numeric_limits<std::int64_t>::min(),
                                   std::numeric_limits<std::int64_t>::max()}) {
        EXPECT_EQ(paintStyleFromRaw(raw), std::nullopt) << raw;
    }
}

TEST(Model, ArtCategoriesDependOnTheCaseAlone) {
    int wall = 0;
    int standing = 0;
    int flat = 0;
    for (const Art& art : everyArtCase(std::make_index_sequence<kArtCaseCount>())) {
        SCOPED_TRACE(art.index());
        wall += isWallPiece(art);
        standing += standsOnFloor(art);
        flat += isFlat(art);
        EXPECT_LE(isWallPiece(art) + standsOnFloor(art) + isFlat(art), 1);
    }
    EXPECT_EQ(kArtCaseCount, 52u);
    EXPECT_EQ(wall, 26);
    EXPECT_EQ(standing, 20);
    EXPECT_EQ(flat, 4);

    EXPECT_FALSE(standsOnFloor(art::None{}) || isFlat(art::None{}) || isWallPiece(art::None{}));
    EXPECT_FALSE(standsOnFloor(art::Item{ItemKind::key, std::nullopt}) ||
                 isFlat(art::Item{ItemKind::key, std::nullopt}));
    EXPECT_TRUE(standsOnFloor(art::Table{}));
    EXPECT_TRUE(standsOnFloor(art::Radio{true, "FM"}));
    EXPECT_TRUE(isFlat(art::Dice{}));
    EXPECT_TRUE(isFlat(art::Dice{{6, 6}}));
    EXPECT_TRUE(isWallPiece(art::Window{}));
    EXPECT_TRUE(isWallPiece(art::Arrows{"<>"}));
    EXPECT_TRUE(isWallPiece(art::Panel{face::Keypad{}}));
    EXPECT_FALSE(isWallPiece(art::Plant{}));
}

TEST(Model, VisibilityNeedsEveryShowFlagAndNoHideFlag) {
    struct Case { Prop prop; FlagSet flags; bool visible; };
    const Case cases[] = {
        {propWith({}, {}), {}, true},
        {propWith({}, {}), {"x", "y"}, true},
        {propWith({"f"}, {}), {}, false},
        {propWith({"f"}, {}), {"f"}, true},
        {propWith({"f", "h"}, {}), {"f"}, false},
        {propWith({"f"}, {"g"}), {"f"}, true},
        {propWith({"f"}, {"g"}), {"f", "g"}, false},
        {propWith({}, {"g", "k"}), {"k"}, false},
        {propWith({"f"}, {"f"}), {"f"}, false},
        {propWith({"f"}, {"f"}), {}, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].prop.isVisible(cases[i].flags), cases[i].visible) << "case " << i;
    }
}

TEST(Model, CurrentArtIsTheFirstMatchingState) {
    Prop prop;
    prop.art = art::Safe{false};
    prop.states = {{{"f", "g"}, art::Safe{true}}, {{"f"}, art::Cabinet{true}}};
    EXPECT_EQ(prop.currentArt({}), Art(art::Safe{false}));
    EXPECT_EQ(prop.currentArt({"g"}), Art(art::Safe{false}));
    EXPECT_EQ(prop.currentArt({"f"}), Art(art::Cabinet{true}));
    EXPECT_EQ(prop.currentArt({"f", "g"}), Art(art::Safe{true}));

    // A state with no flags always matches and hides every state after it.
    prop.states.insert(prop.states.begin() + 1, PropState{{}, art::Globe{}});
    EXPECT_EQ(prop.currentArt({}), Art(art::Globe{}));
    EXPECT_EQ(prop.currentArt({"f"}), Art(art::Globe{}));
    EXPECT_EQ(prop.currentArt({"f", "g"}), Art(art::Safe{true}));
}

TEST(Model, LevelLookups) {
    Level level;
    Prop first;
    first.id = "twin";
    first.z = 1;
    Prop second = first;
    second.z = 2;
    Prop tv;
    tv.id = "tv";
    tv.art = art::Tv{std::nullopt, false};
    level.props = {first, second, tv};
    level.items["key"] = Item{"key", "Key", ItemKind::key, std::nullopt};
    level.panels["pad"] = Panel{"pad", "Pad", entry::Keypad{2}, {1, 2}, {}};

    ASSERT_NE(level.prop("twin"), nullptr);
    EXPECT_EQ(level.prop("twin")->z, 1);
    EXPECT_EQ(level.prop("none"), nullptr);
    ASSERT_NE(level.item("key"), nullptr);
    EXPECT_EQ(level.item("key")->name, "Key");
    EXPECT_EQ(level.item("Key"), nullptr);
    ASSERT_NE(level.panel("pad"), nullptr);
    EXPECT_EQ(level.panel("none"), nullptr);

    // Animation is found in the base art or in any state, whatever its tones.
    EXPECT_FALSE(level.hasAnimatedProps());
    level.props[2].states = {{{"on"}, art::TvFlash{}}};
    EXPECT_TRUE(level.hasAnimatedProps());
    level.props[2].states.clear();
    level.props[2].art = art::TvFlash{{Tone::red}};
    EXPECT_TRUE(level.hasAnimatedProps());
}

TEST(Model, PanelCheckMatchesExactly) {
    const Panel panel{"p", "P", entry::Letters{2}, {1, 2}, {}};
    EXPECT_TRUE(panel.isCorrect({1, 2}));
    EXPECT_FALSE(panel.isCorrect({1, 2, 3}));
    EXPECT_FALSE(panel.isCorrect({2, 1}));
    EXPECT_FALSE(panel.isCorrect({1}));
    EXPECT_FALSE(panel.isCorrect({}));
    const Panel empty{"e", "E", entry::Switches{}, {}, {}};
    EXPECT_TRUE(empty.isCorrect({}));
    EXPECT_FALSE(empty.isCorrect({0}));
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

    EXPECT_EQ(Themes::terracotta.wall2, 0xB2765Au);
    EXPECT_EQ(Themes::ivory.floorStyle, FloorStyle::tiles);
    EXPECT_EQ(Themes::ivory.ceiling, CeilingStyle::plain);
    EXPECT_EQ(Themes::navy.light, 0xCFE0FFu);

    const Theme same = makeTheme(0x123456, std::nullopt, 1, 2, FloorStyle::carpet, WallPattern::dots,
                                 CeilingStyle::plain, 3, 4);
    EXPECT_EQ(same.wall2, 0x123456u);
    EXPECT_EQ(makeTheme(1, 0xABCDEF, 1, 2, FloorStyle::carpet, WallPattern::dots, CeilingStyle::plain, 3, 4).wall2,
              0xABCDEFu);

    EXPECT_EQ(Stage::doorRect.midX(), 500);
    EXPECT_EQ(Stage::doorRect.maxY(), Stage::horizon);
}
