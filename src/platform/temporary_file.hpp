#pragma once

// A file being written that must not outlive the process: when a signal ends the game before
// the file is renamed into place or removed, the signal handler removes it. One at a time.
// The path is copied; a path too long to copy is not tracked.
void track_temporary_file(const char* path);
void untrack_temporary_file();

// For the signal handlers: removes the tracked file, if any. Async-signal-safe.
void remove_tracked_temporary_file();
