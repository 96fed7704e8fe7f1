// The Windows pieces of the platform, run under Windows or Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/screen.hpp"
#include "platform/program_path.hpp"
#include "platform/safe_file.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "platform/user_folders.hpp"
#include "platform/windows_console.hpp"
#include "support/temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytes(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> result(count);
    for (std::size_t k = 0; k < count; ++k) result[k] = static_cast<std::uint8_t>(first + k);
    return result;
}

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

void set_read_only(const std::string& file, bool read_only) {
    SetFileAttributesA(file.c_str(), read_only ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFile, ReplacingLeavesExactlyTheNewBytesAndNoTemporaryFile) {
    TempFolder folder("mirelvanthoque-file");
    const std::string file = folder.file("BEDINGUN.DAT");
    ASSERT_TRUE(replace_file(file, bytes(80, 1).data(), 80)) << "a new file";
    EXPECT_EQ(TempFolder::read_bytes(file), bytes(80, 1));
    ASSERT_TRUE(replace_file(file, bytes(80, 7).data(), 80)) << "over an old one";
    EXPECT_EQ(TempFolder::read_bytes(file), bytes(80, 7));
    ASSERT_TRUE(replace_file(file, bytes(3, 9).data(), 3)) << "a shorter one";
    EXPECT_EQ(TempFolder::read_bytes(file), bytes(3, 9));
    EXPECT_EQ(names_in(folder.path()), std::vector<std::string>{"BEDINGUN.DAT"});
}

TEST(WindowsFile, AReadOnlyFileIsLeftAlone) {
    TempFolder folder("mirelvanthoque-file");
    const std::string file = folder.file("BEDINGUN.DAT");
    TempFolder::write_bytes(file, bytes(80, 1));
    set_read_only(file, true);
    EXPECT_FALSE(replace_file(file, bytes(80, 7).data(), 80));
    set_read_only(file, false);
    EXPECT_EQ(TempFolder::read_bytes(file), bytes(80, 1));
    EXPECT_EQ(names_in(folder.path()), std::vector<std::string>{"BEDINGUN.DAT"});
}

TEST(WindowsFile, NothingIsWrittenWhereTheFolderIsMissingOrTheNameIsAFolder) {
    TempFolder folder("mirelvanthoque-file");
    EXPECT_FALSE(replace_file(folder.file("missing/BEDINGUN.DAT"), bytes(80, 1).data(), 80));
    fs::create_directory(folder.path() / "BEDINGUN.DAT");
    EXPECT_FALSE(replace_file(folder.file("BEDINGUN.DAT"), bytes(80, 1).data(), 80));
    std::uint8_t head[80];
    EXPECT_FALSE(read_file_head(folder.file("BEDINGUN.DAT"), head, sizeof head));
}

TEST(WindowsFile, TheHeadIsReadOnlyWhenTheFileHoldsAllOfIt) {
    TempFolder folder("mirelvanthoque-file");
    const std::string file = folder.file("BEDINGUN.DAT");
    std::vector<std::uint8_t> head(80);
    EXPECT_FALSE(read_file_head(file, head.data(), head.size())) << "missing";
    TempFolder::write_bytes(file, bytes(79, 1));
    EXPECT_FALSE(read_file_head(file, head.data(), head.size())) << "a byte short";
    TempFolder::write_bytes(file, bytes(81, 1));
    ASSERT_TRUE(read_file_head(file, head.data(), head.size())) << "a byte more";
    EXPECT_EQ(head, bytes(80, 1));
}

TEST(WindowsFolders, FoldersAreMadeWithTheOnesAboveThemAndAreWritable) {
    TempFolder folder("mirelvanthoque-folders");
    const std::string deep = folder.file("a") + "/b/c";
    EXPECT_FALSE(entry_exists(deep));
    ASSERT_TRUE(make_private_folders(deep));
    EXPECT_TRUE(entry_exists(deep));
    EXPECT_TRUE(writable_by_user(deep));
    EXPECT_TRUE(make_private_folders(deep)) << "already there";
    const std::string file = deep + "/BEDINGUN.DAT";
    TempFolder::write_bytes(file, bytes(80, 1));
    EXPECT_TRUE(writable_by_user(file));
    set_read_only(file, true);
    EXPECT_FALSE(writable_by_user(file));
    set_read_only(file, false);
    EXPECT_FALSE(writable_by_user(deep + "/missing"));
    EXPECT_EQ(names_in(deep), std::vector<std::string>{"BEDINGUN.DAT"}) << "the probe for writing is gone";
}

TEST(WindowsFolders, AbsolutePathsHaveADriveOrAServer) {
    EXPECT_TRUE(is_absolute_path("C:/Users/anna"));
    EXPECT_TRUE(is_absolute_path("c:\\Users"));
    EXPECT_TRUE(is_absolute_path("//server/share"));
    EXPECT_TRUE(is_absolute_path("\\\\server\\share"));
    EXPECT_FALSE(is_absolute_path("/Users/anna"));
    EXPECT_FALSE(is_absolute_path("C:relative"));
    EXPECT_FALSE(is_absolute_path("relative/folder"));
    EXPECT_FALSE(is_absolute_path(""));
}

TEST(WindowsSystem, TheProgramKnowsItsOwnFileAndFolder) {
    const std::string path = program_file_path();
    ASSERT_TRUE(path.ends_with("mirelvanthoque-tests.exe")) << path;
    EXPECT_TRUE(is_absolute_path(path)) << path;
    const std::string folder = directory_of(path);
    EXPECT_EQ(folder + "mirelvanthoque-tests.exe", path);
    EXPECT_TRUE(folder.ends_with('\\') || folder.ends_with('/')) << folder;
}

TEST(WindowsSystem, MemoryAndTheClockAreRead) {
    SystemMemory memory;
    EXPECT_GT(memory.available_bytes(), std::uint64_t{16} << 20);
    SystemClock clock;
    const DateTime now = clock.now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31 && now.weekday <= 6);
    EXPECT_TRUE(now.hour <= 23 && now.minute <= 59 && now.second <= 59 && now.hundredths <= 99);
    const std::uint64_t before = clock.tick_ms();
    clock.sleep_ms(50);
    EXPECT_GE(clock.tick_ms() - before, 49u);
}

// Refused before the system is asked, so the real clock is never touched.
TEST(WindowsSystem, DatesAndTimesThatDoNotExistAreRefused) {
    SystemClock clock;
    EXPECT_FALSE(clock.set_date(2023, 2, 29));
    EXPECT_FALSE(clock.set_date(2024, 4, 31));
    EXPECT_FALSE(clock.set_date(2024, 13, 1));
    EXPECT_FALSE(clock.set_date(1600, 1, 1));
    EXPECT_FALSE(clock.set_time(24, 0, 0, 0));
    EXPECT_FALSE(clock.set_time(12, 60, 0, 0));
    EXPECT_FALSE(clock.set_time(12, 0, 0, 100));
}

// Needs a console: the CI runs these in a terminal pane of their own. The game's standard
// handles are the console's, whatever the test's own output goes to.
class WindowsConsoleOutput : public ::testing::Test {
   protected:
    void SetUp() override {
        console_in_ = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        console_out_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD mode = 0;
        if (GetConsoleMode(console_in_, &mode) == 0 || GetConsoleMode(console_out_, &mode) == 0)
            GTEST_SKIP() << "no console";
        SetStdHandle(STD_INPUT_HANDLE, console_in_);
        SetStdHandle(STD_OUTPUT_HANDLE, console_out_);
    }
    void TearDown() override {
        SetStdHandle(STD_INPUT_HANDLE, saved_in_);
        SetStdHandle(STD_OUTPUT_HANDLE, saved_out_);
        if (console_in_ != INVALID_HANDLE_VALUE) CloseHandle(console_in_);
        if (console_out_ != INVALID_HANDLE_VALUE) CloseHandle(console_out_);
    }

    // What the active buffer shows at the top left, cell by cell.
    static std::vector<CHAR_INFO> shown() {
        const HANDLE active = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        std::vector<CHAR_INFO> cells(static_cast<std::size_t>(Screen::kColumns * Screen::kRows));
        SMALL_RECT region{0, 0, Screen::kColumns - 1, Screen::kRows - 1};
        ReadConsoleOutputW(active, cells.data(), COORD{Screen::kColumns, Screen::kRows}, COORD{0, 0}, &region);
        CloseHandle(active);
        return cells;
    }

    HANDLE saved_in_ = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE saved_out_ = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE console_in_ = INVALID_HANDLE_VALUE;
    HANDLE console_out_ = INVALID_HANDLE_VALUE;
};

TEST_F(WindowsConsoleOutput, TheConsoleShowsTheScreenCellForCell) {
    WindowsConsole console;
    Screen screen;
    screen.set_attribute(0x1E);
    screen.clear();
    screen.goto_xy(1, 1);
    screen.write("Mirelvanthoque");
    screen.set_attribute(0x4F);
    screen.goto_xy(70, 25);
    screen.write("bottom righ");
    screen.goto_xy(3, 12);
    console.present(screen);
    const std::vector<CHAR_INFO> cells = shown();
    for (int row = 1; row <= Screen::kRows; ++row) {
        for (int column = 1; column <= Screen::kColumns; ++column) {
            const CHAR_INFO& cell = cells[static_cast<std::size_t>((row - 1) * Screen::kColumns + column - 1)];
            ASSERT_EQ(cell.Char.UnicodeChar, static_cast<WCHAR>(screen.cell(column, row).ch))
                << "column " << column << ", row " << row;
            ASSERT_EQ(cell.Attributes & 0xFF, screen.cell(column, row).attr) << "column " << column << ", row " << row;
        }
    }
    console.shut_down({});
}

TEST_F(WindowsConsoleOutput, TheConsoleFoundComesBackAsItWas) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO before{};
    ASSERT_NE(GetConsoleScreenBufferInfo(output, &before), 0);
    DWORD input_mode_before = 0;
    GetConsoleMode(input, &input_mode_before);
    {
        WindowsConsole console;
        DWORD input_mode = 0;
        GetConsoleMode(input, &input_mode);
        EXPECT_EQ(input_mode & (ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT), 0u)
            << "Ctrl-C must come as a key";
        Screen screen;
        screen.set_attribute(0x2A);
        screen.clear();
        console.present(screen);
        console.shut_down({"closing line"});
    }
    CONSOLE_SCREEN_BUFFER_INFO after{};
    ASSERT_NE(GetConsoleScreenBufferInfo(output, &after), 0);
    EXPECT_EQ(after.wAttributes, before.wAttributes);
    DWORD input_mode_after = 0;
    GetConsoleMode(input, &input_mode_after);
    EXPECT_EQ(input_mode_after, input_mode_before);
}

// Windows calls the handler on a thread of its own and ends the process when it returns.
TEST_F(WindowsConsoleOutput, AClosedWindowEndsTheGameOnlyOnceItHasWoundDown) {
    WindowsConsole console;
    EXPECT_EQ(WindowsConsole::on_control(CTRL_C_EVENT), TRUE);
    EXPECT_EQ(WindowsConsole::on_control(CTRL_BREAK_EVENT), TRUE);
    EXPECT_FALSE(console.wait_for_key(0));
    EXPECT_FALSE(console.lost()) << "Ctrl-C and Ctrl-Break are keys, not ways out";
    std::atomic<bool> handler_returned{false};
    std::thread windows([&] {
        WindowsConsole::on_control(CTRL_CLOSE_EVENT);
        handler_returned.store(true);
    });
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(console.wait_for_key(10000));
    EXPECT_LT(GetTickCount64() - start, 2000u) << "the wait ends when the window closes";
    ASSERT_TRUE(console.lost());
    EXPECT_EQ(console.lost()->signal_number, 0);
    Sleep(200);
    EXPECT_FALSE(handler_returned.load()) << "the process must stay until the game has saved";
    console.shut_down({});
    windows.join();
    EXPECT_TRUE(handler_returned.load());
    WindowsConsole next;
    EXPECT_FALSE(next.lost()) << "the next console starts afresh";
}

}  // namespace
