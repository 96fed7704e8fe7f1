#include "platform/windows_console.hpp"

#include <algorithm>
#include <atomic>

#include "core/screen.hpp"
#include "platform/console_keys.hpp"
#include "platform/size_notice.hpp"
#include "platform/windows_paths.hpp"

namespace {

// The control handler runs on a thread of its own. It wakes the game, then holds the process
// until the game has saved and given the console back, or until Windows would end it anyway.
std::atomic<bool> g_ended{false};
HANDLE g_wake = nullptr;      // set by the handler: the game looks at g_ended
HANDLE g_finished = nullptr;  // set by the game once it is wound down
constexpr DWORD kGraceMs = 4500;  // Windows ends a process 5 s after a close event

}  // namespace

BOOL WINAPI WindowsConsole::on_control(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: return TRUE;  // keys of the game, never a way out
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        g_ended.store(true);
        if (g_wake) SetEvent(g_wake);
        if (g_finished) WaitForSingleObject(g_finished, kGraceMs);
        return TRUE;
    default: return FALSE;
    }
}

namespace {

ConsoleKeyEvent event_of(const KEY_EVENT_RECORD& record) {
    return ConsoleKeyEvent{record.bKeyDown != 0, record.wVirtualKeyCode, record.wVirtualScanCode,
                           static_cast<char16_t>(record.uChar.UnicodeChar), record.dwControlKeyState};
}

WCHAR visible(char ch) { return ch >= 0x20 && ch <= 0x7E ? static_cast<WCHAR>(ch) : L'?'; }

}  // namespace

WindowsConsole::WindowsConsole()
    : input_(GetStdHandle(STD_INPUT_HANDLE)), output_(GetStdHandle(STD_OUTPUT_HANDLE)), screen_(output_) {
    // Made once; each console starts afresh.
    if (!g_wake) g_wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_finished) g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_ended.store(false);
    if (g_wake) ResetEvent(g_wake);
    if (g_finished) ResetEvent(g_finished);
    SetConsoleCtrlHandler(&on_control, TRUE);
    input_is_console_ = GetConsoleMode(input_, &saved_input_mode_) != 0;
    DWORD output_mode = 0;
    output_is_console_ = GetConsoleMode(output_, &output_mode) != 0;
    if (input_is_console_) SetConsoleMode(input_, ENABLE_WINDOW_INPUT | ENABLE_EXTENDED_FLAGS);
    else lost_ = TerminalLost{0};
    if (output_is_console_) {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (GetConsoleScreenBufferInfo(output_, &info) != 0) saved_attributes_ = info.wAttributes;
        GetConsoleCursorInfo(output_, &saved_cursor_);
        const HANDLE own = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                     nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
        if (own != INVALID_HANDLE_VALUE && SetConsoleActiveScreenBuffer(own) != 0) {
            screen_ = own;
            own_screen_ = true;
        } else if (own != INVALID_HANDLE_VALUE) {
            CloseHandle(own);
        }
        take_size();
    } else {
        write_out("\x1b[?1049h\x1b[?7l\x1b[0m\x1b[2J");
    }
    taken_over_ = true;
}

WindowsConsole::~WindowsConsole() {
    if (tone_.joinable()) tone_.join();
    restore();
    SetConsoleCtrlHandler(&on_control, FALSE);
    if (g_finished) SetEvent(g_finished);
}

// The window may be smaller than the buffer: what counts is what can be seen.
void WindowsConsole::take_size() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(screen_, &info) == 0) return;
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    const int rows = info.srWindow.Bottom - info.srWindow.Top + 1;
    if (columns == columns_ && rows == rows_) return;
    columns_ = columns;
    rows_ = rows;
    // The game draws at the top left of the buffer; the window looks there.
    if (info.srWindow.Left != 0 || info.srWindow.Top != 0) {
        SMALL_RECT window{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
        SetConsoleWindowInfo(screen_, TRUE, &window);
    }
    shown_generation_.reset();
    notice_shown_ = false;
}

bool WindowsConsole::large_enough() const {
    if (columns_ == 0 || rows_ == 0) return true;
    return columns_ >= Screen::kColumns && rows_ >= Screen::kRows;
}

void WindowsConsole::present(const Screen& screen) {
    if (!taken_over_) return;
    read_events();
    if (shown_generation_ == screen.generation()) return;
    frame_ = Frame::of(screen);
    shown_generation_ = screen.generation();
    draw();
}

void WindowsConsole::draw() {
    if (!frame_) return;
    if (!output_is_console_) {
        write_out(renderer_.update(*frame_));
        return;
    }
    const auto put = [this](const std::vector<CHAR_INFO>& cells, int width, int height) {
        SMALL_RECT region{0, 0, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
        WriteConsoleOutputW(screen_, cells.data(), COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)},
                            COORD{0, 0}, &region);
    };
    if (!large_enough()) {
        if (notice_shown_) return;
        const int width = std::max(columns_, 1);
        const int height = std::max(rows_, 1);
        std::vector<CHAR_INFO> blank(static_cast<std::size_t>(width * height), CHAR_INFO{{L' '}, 7});
        const std::vector<std::string> lines = size_notice(columns_, rows_);
        for (std::size_t row = 0; row < lines.size() && static_cast<int>(row) < height; ++row)
            for (std::size_t column = 0; column < lines[row].size() && static_cast<int>(column) < width; ++column)
                blank[row * static_cast<std::size_t>(width) + column].Char.UnicodeChar = visible(lines[row][column]);
        put(blank, width, height);
        notice_shown_ = true;
        return;
    }
    notice_shown_ = false;
    cells_.resize(static_cast<std::size_t>(Screen::kColumns * Screen::kRows));
    for (std::size_t index = 0; index < cells_.size(); ++index) {
        cells_[index].Char.UnicodeChar = visible(frame_->cells[index].ch);
        cells_[index].Attributes = frame_->cells[index].attr;
    }
    put(cells_, Screen::kColumns, Screen::kRows);
    SetConsoleCursorPosition(screen_, COORD{static_cast<SHORT>(frame_->cursor_column - 1),
                                            static_cast<SHORT>(frame_->cursor_row - 1)});
}

void WindowsConsole::read_events() {
    if (g_ended.load() && !lost_) lost_ = TerminalLost{0};
    if (!input_is_console_ || lost_) return;
    INPUT_RECORD records[64];
    for (;;) {
        DWORD waiting = 0;
        if (GetNumberOfConsoleInputEvents(input_, &waiting) == 0) {
            lost_ = TerminalLost{0};
            return;
        }
        if (waiting == 0) return;
        DWORD read = 0;
        if (ReadConsoleInputW(input_, records, 64, &read) == 0) {
            lost_ = TerminalLost{0};
            return;
        }
        for (DWORD k = 0; k < read; ++k) {
            if (records[k].EventType == WINDOW_BUFFER_SIZE_EVENT) {
                take_size();
                draw();
            } else if (records[k].EventType == KEY_EVENT) {
                const KEY_EVENT_RECORD& key = records[k].Event.KeyEvent;
                if (const std::optional<Key> translated = key_of(event_of(key)))
                    for (WORD repeat = 0; repeat < std::max<WORD>(key.wRepeatCount, 1); ++repeat)
                        keys_.push_back(*translated);
            }
        }
    }
}

bool WindowsConsole::wait_for_key(int timeout_ms) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        read_events();
        // Keys while the notice stands instead of the screen would act unseen.
        if (!large_enough()) keys_.clear();
        if (!keys_.empty() || lost_) return true;
        const ULONGLONG waited = GetTickCount64() - start;
        if (timeout_ms >= 0 && waited >= static_cast<ULONGLONG>(timeout_ms)) return false;
        const DWORD wait = timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms - waited);
        const HANDLE handles[2] = {input_, g_wake};
        WaitForMultipleObjects(g_wake ? 2 : 1, handles, FALSE, wait);
    }
}

Key WindowsConsole::take_key() {
    while (!wait_for_key(-1)) {
    }
    if (keys_.empty()) return Key{keys::kEsc, false};  // the console is gone
    const Key key = keys_.front();
    keys_.pop_front();
    return key;
}

void WindowsConsole::bell(int frequency_hz, int duration_ms) {
    if (tone_.joinable()) tone_.join();
    tone_ = std::thread([frequency_hz, duration_ms] { Beep(static_cast<DWORD>(frequency_hz), static_cast<DWORD>(duration_ms)); });
}

void WindowsConsole::restore() {
    if (!taken_over_) return;
    taken_over_ = false;
    if (input_is_console_) SetConsoleMode(input_, saved_input_mode_);
    if (output_is_console_) {
        if (own_screen_) {
            // Blanked first: a console that shows every buffer on one terminal, as Wine's
            // does, would keep the last picture above the closing text.
            CONSOLE_SCREEN_BUFFER_INFO info{};
            if (GetConsoleScreenBufferInfo(screen_, &info) != 0) {
                const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
                DWORD written = 0;
                FillConsoleOutputCharacterW(screen_, L' ', cells, COORD{0, 0}, &written);
                FillConsoleOutputAttribute(screen_, saved_attributes_, cells, COORD{0, 0}, &written);
                SetConsoleCursorPosition(screen_, COORD{0, 0});
            }
            SetConsoleActiveScreenBuffer(output_);
            CloseHandle(screen_);
            screen_ = output_;
            own_screen_ = false;
        }
        SetConsoleTextAttribute(output_, saved_attributes_);
        SetConsoleCursorInfo(output_, &saved_cursor_);
    } else {
        write_out("\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l");
    }
}

void WindowsConsole::shut_down(const std::vector<std::string>& closing_lines) {
    restore();
    std::string text;
    for (const std::string& line : closing_lines) text += line + "\r\n";
    write_out(text);
    if (g_finished) SetEvent(g_finished);
}

void WindowsConsole::write_out(const std::string& bytes) {
    if (bytes.empty()) return;
    DWORD written = 0;
    if (output_is_console_) {
        const std::wstring wide = wide_text(bytes);
        WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(output_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}
