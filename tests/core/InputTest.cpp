// The input reader: the first-wait task runs once and only when a read would block; long lines,
// a byte-order mark and partial lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "core/Platform.h"

namespace {

std::atomic<int> runs{0};

void Write(int fd, const char* text) { ASSERT_GT(write(fd, text, std::char_traits<char>::length(text)), 0); }

} // namespace

TEST(Input, FirstWaitTaskRunsOnceWhenNothingIsWaiting) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(dup2(fds[0], STDIN_FILENO), STDIN_FILENO);
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    OnFirstWait([] { ++runs; });

    char line[16];
    Write(fds[1], "uci\nisready\n");
    ASSERT_TRUE(ReadLine(line, sizeof line));
    ASSERT_TRUE(ReadLine(line, sizeof line));
    EXPECT_STREQ(line, "isready");
    EXPECT_EQ(runs, 0) << "commands were waiting";

    // Nothing waits: the task runs before the read blocks; the writer answers then (or after 5 s).
    std::thread writer([&] {
        for (int i = 0; i < 500 && runs == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Write(fds[1], "go\nquit\n");
    });
    ASSERT_TRUE(ReadLine(line, sizeof line));
    writer.join();
    EXPECT_STREQ(line, "go");
    EXPECT_EQ(runs, 1);
    ASSERT_TRUE(ReadLine(line, sizeof line));
    close(fds[1]);
    EXPECT_FALSE(ReadLine(line, sizeof line));
    EXPECT_EQ(runs, 1) << "once only";
}

// A line arrives whole or cut as asked; a leading byte-order mark is dropped; a partial line is not waiting.
TEST(Input, LongLinesByteOrderMarkAndPartialLines) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(dup2(fds[0], STDIN_FILENO), STDIN_FILENO);
    RestartInput();
    OnFirstWait(nullptr);
    const std::string longLine(300000, 'e');
    std::thread writer([&] {
        Write(fds[1], "\xEF\xBB\xBFuci\n");
        for (size_t at = 0; at < longLine.size(); at += 4096) Write(fds[1], longLine.substr(at, 4096).c_str());
        Write(fds[1], "\r\nabcdef\nposi");
    });
    std::string line;
    bool cut = true;
    ASSERT_TRUE(ReadLine(&line, 100, &cut));
    EXPECT_EQ(line, "uci");
    EXPECT_FALSE(cut);
    ASSERT_TRUE(ReadLine(&line, 1 << 20, &cut));
    EXPECT_TRUE(line == longLine && !cut);
    ASSERT_TRUE(ReadLine(&line, 3, &cut));
    EXPECT_TRUE(line == "abc" && cut);
    writer.join();
    EXPECT_FALSE(LineWaiting()) << "posi has no line end yet";
    Write(fds[1], "tion startpos\n");
    EXPECT_TRUE(LineWaiting());
    ASSERT_TRUE(ReadLine(&line, 100));
    EXPECT_EQ(line, "position startpos");
    EXPECT_FALSE(InputEndedNow());
    close(fds[1]);
    EXPECT_TRUE(InputEndedNow());
    EXPECT_FALSE(ReadLine(&line, 100));
}
