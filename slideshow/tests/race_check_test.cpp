// Built only under ThreadSanitizer: the run must still see a race of ours that happens inside a Qt
// call, which suppressing whatever Qt's libraries do would hide.
#include <QImage>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace {

// One thread writes a picture's pixels while another, without any hand-over, copies the picture
// (Qt copies it with memcpy). A relaxed flag orders the two in time but not for the tool.
[[noreturn]] void CopyAPictureAnotherThreadIsWriting() {
    QImage picture(64, 64, QImage::Format_ARGB32_Premultiplied);
    uchar* const pixels = picture.bits();
    std::atomic<bool> written{false};
    std::thread writer([&] {
        for (qsizetype i = 0; i < picture.sizeInBytes(); ++i)
            pixels[i] = uchar(i);
        written.store(true, std::memory_order_relaxed);
    });
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!written.load(std::memory_order_relaxed) && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
    const QImage copy = picture.copy();
    writer.join();
    std::exit(copy.isNull() ? 2 : 0);
}

} // namespace

TEST(RaceCheckDeathTest, ARaceOfOursInsideAQtCallIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CopyAPictureAnotherThreadIsWriting(), testing::ExitedWithCode(66), "data race");
}
