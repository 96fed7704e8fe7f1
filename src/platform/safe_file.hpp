#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Reading and replacing a small file that may lie in a folder others can write, and that the
// game may reach as root.
//
// Where the file is: the name itself when it is a regular file or missing. A symbolic link is
// followed only when it belongs to the effective user, and so each link of a chain, at most
// kMaxFileLinks of them; a relative link is read from the link's folder. A link of anyone
// else, a longer chain, or anything but a regular file at the end makes the name unusable:
// nothing is read and nothing is written. Folders on the way are taken as the system finds
// them.
inline constexpr int kMaxFileLinks = 8;

// Reads exactly `size` bytes from the start of the file; false when it is unusable, missing,
// shorter or unreadable. Never opens anything but a regular file, so it never blocks.
bool read_file_head(const std::string& path, std::uint8_t* data, std::size_t size);

// Makes the file hold exactly the bytes; returns whether it does. The file is replaced through
// an exclusively created temporary file with an unpredictable name in its folder, which takes
// the old file's mode and, where the process may set them, its owner and group; a new file
// gets 0666 less the umask. A file without any write permission bit is left alone. When no
// temporary file can be made or renamed over the file, a writable file is written in place.
// No temporary file outlives the call, nor a signal that ends the process during it (the
// signal handlers remove the tracked one).
bool replace_file(const std::string& path, const std::uint8_t* data, std::size_t size);

// The pieces of a replacement, open to tests.
// A fresh name beside `path`: `path` "." 16 random hex digits ".tmp".
std::string temporary_name_beside(const std::string& path);
#if !defined(_WIN32)
// Creates a file that did not exist, never through a link (O_EXCL, O_NOFOLLOW); the open
// descriptor for writing, or -1 with errno set.
int create_new_file(const std::string& path, mode_t mode);
#endif
