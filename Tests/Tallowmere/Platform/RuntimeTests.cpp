// What every process runs with: the memory release after the game's windows change.
#include <Tallowmere/Platform/Runtime.hpp>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QResizeEvent>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace tallowmere {
namespace {

// How many releases the events so far have started, run at once.
int releasesStarted() {
    QCoreApplication::processEvents();
    int releases = 0;
    while (runPendingMemoryRelease()) ++releases;
    return releases;
}

// Where a sanitizer's allocator stands in for the C library's, no release reaches it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kLibraryAllocator = false;
#else
constexpr bool kLibraryAllocator = true;
#endif

// Bytes of this process in memory.
double residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    return statm.readAll().split(' ').value(1).toDouble() * double(sysconf(_SC_PAGESIZE));
}

TEST(Runtime, OnlyTheGamesWindowsStartAMemoryRelease) {
    QWidget window;
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    releasesStarted();

    QToolTip::showText(window.mapToGlobal(QPoint(10, 10)), QStringLiteral("A tip"), &window);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }));
    int releases = releasesStarted();
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    releases += releasesStarted();
    QMenu menu;
    menu.addAction(QStringLiteral("An entry"));
    menu.popup(window.mapToGlobal(QPoint(20, 20)));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
    releases += releasesStarted();
    menu.hide();
    releases += releasesStarted();
    EXPECT_EQ(releases, 0) << "a tooltip and a menu, shown and gone";

    // Sized from outside, as a desktop does: the window must still see its new size.
    window.windowHandle()->resize(500, 350);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == QSize(500, 350); }, 20000));
    EXPECT_EQ(releasesStarted(), 1) << "the window's new size";
    window.hide();
    EXPECT_EQ(releasesStarted(), 1) << "the window gone";
}

TEST(Runtime, AReleaseHandsFreedPagesBackToTheSystem) {
    if (!kLibraryAllocator) GTEST_SKIP() << "a sanitizer's allocator stands in for the C library's";
    // Blocks the allocator keeps in its heap rather than mapping them apart; every other one is
    // freed, held apart from the rest of the free memory by those still in use, as pictures still
    // in use hold the pages freed between them.
    constexpr std::size_t kBlockBytes = 64 * 1024;
    constexpr int kBlocks = 1024;
    std::vector<char*> blocks;
    for (int i = 0; i < kBlocks; ++i) {
        blocks.push_back(static_cast<char*>(std::malloc(kBlockBytes)));
        ASSERT_TRUE(blocks.back());
        std::memset(blocks.back(), 1, kBlockBytes);
    }
    volatile char seen = 0;
    for (int i = 0; i < kBlocks; i += 2) {
        seen = char(seen + blocks[std::size_t(i)][kBlockBytes - 1]);
        std::free(std::exchange(blocks[std::size_t(i)], nullptr));
    }
    const double before = residentBytes();
    QWindow window;
    QResizeEvent resize(QSize(640, 480), QSize(320, 240));
    QCoreApplication::sendEvent(&window, &resize);
    EXPECT_TRUE(runPendingMemoryRelease());
    const double after = residentBytes();
    for (char* block : blocks) std::free(block);
    const double freed = double(kBlockBytes) * kBlocks / 2;
    EXPECT_GT(before - after, freed / 2) << "bytes handed back of the " << freed << " freed";
}

}  // namespace
}  // namespace tallowmere
