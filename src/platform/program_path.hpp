#pragma once

#include <string>

// Full path of the running executable; empty when the system cannot tell.
std::string program_file_path();
// The directory part of a path, with its trailing '/' (or, on Windows, '\'); empty when there
// is none.
std::string directory_of(const std::string& path);
