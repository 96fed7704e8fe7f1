// Reading and replacing the conditions file with the Windows calls. A reparse point (a link
// or junction) is never followed: the name is unusable then, as a link of someone else's is
// on POSIX. The read-only attribute leaves the file alone.
#include <windows.h>

#include <bcrypt.h>

#include <cstdio>
#include <optional>

#include "platform/safe_file.hpp"
#include "platform/windows_paths.hpp"

namespace {

struct Place {
    bool exists = false;
    DWORD attributes = 0;
};

std::optional<Place> find_place(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Place{};
        return std::nullopt;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0)
        return std::nullopt;
    return Place{true, attributes};
}

class Handle {
   public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closes it now; false when the close failed, which may mean lost data.
    bool close() {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

   private:
    HANDLE handle_;
};

bool write_all(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        if (WriteFile(file, data, chunk, &written, nullptr) == 0 || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

// Writes the bytes over the start of a file that exists and cuts it there.
bool write_in_place(const std::wstring& path, const std::uint8_t* data, std::size_t size) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) return false;
    const bool written = write_all(file.get(), data, size) && SetEndOfFile(file.get()) != 0 &&
                         FlushFileBuffers(file.get()) != 0;
    return file.close() && written;
}

std::uint64_t random_bits() {
    std::uint64_t bits = 0;
    if (BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
        bits = GetTickCount64() * 0x9E3779B97F4A7C15ULL ^ GetCurrentProcessId();
    return bits;
}

}  // namespace

std::string temporary_name_beside(const std::string& path) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random_bits()));
    return path + "." + digits + ".tmp";
}

bool read_file_head(const std::string& path, std::uint8_t* data, std::size_t size) {
    const std::wstring name = wide_text(path);
    const auto place = find_place(name);
    if (!place || !place->exists) return false;
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) return false;
    while (size > 0) {
        DWORD read = 0;
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        if (ReadFile(file.get(), data, chunk, &read, nullptr) == 0 || read == 0) return false;
        data += read;
        size -= read;
    }
    return true;
}

// Through a new file beside it, written through to the disk and then moved over the old one
// in one step; a file that cannot be replaced so is written in place.
bool replace_file(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const std::wstring name = wide_text(path);
    const auto place = find_place(name);
    if (!place) return false;
    if (place->exists && (place->attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
    const std::wstring temporary = wide_text(temporary_name_beside(path));
    bool moved = false;
    {
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
        if (file.valid()) {
            const bool written = write_all(file.get(), data, size) && FlushFileBuffers(file.get()) != 0;
            if (file.close() && written)
                moved = MoveFileExW(temporary.c_str(), name.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            if (!moved) DeleteFileW(temporary.c_str());
        }
    }
    if (moved) return true;
    return place->exists && write_in_place(name, data, size);
}
