// Every room as `--shot` renders it, lit and dark, and the application's icon, against their
// reference pictures. The single pieces are held to theirs by the probe tests that draw them alone.
#include <Tallowmere/App/AppIcon.hpp>
#include <Tallowmere/App/CommandLine.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Art/ReferencePictures.hpp"

namespace tallowmere {
namespace {

using testing::matchesReference;

class RoomShot : public ::testing::TestWithParam<std::int64_t> {};

TEST_P(RoomShot, LitAndDarkMatchTheirReferences) {
    const std::int64_t room = GetParam();
    for (const bool dark : {false, true}) {
        const std::string name = "rooms/" + std::string(room < 10 ? "0" : "") + std::to_string(room) + (dark ? "-dark" : "-lit");
        EXPECT_TRUE(matchesReference(name, CommandLine::renderRoomShot({room, "", {}, dark})));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRoom, RoomShot, ::testing::Range<std::int64_t>(1, 51),
                         [](const ::testing::TestParamInfo<std::int64_t>& info) { return "room" + std::to_string(info.param); });

// As `--icon` writes it, and at each size a window's icon is drawn at.
TEST(AppIconArt, TheIconAndItsWindowSizesMatchTheirReferences) {
    EXPECT_TRUE(matchesReference("app/icon", renderAppIcon()));
    std::vector<QImage> sizes;
    for (const int side : kWindowIconSizes) sizes.push_back(renderAppIcon(side));
    EXPECT_TRUE(matchesReference("app/window-icons", testing::sideBySide(sizes)));
}

}  // namespace
}  // namespace tallowmere
