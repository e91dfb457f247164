#pragma once

// The platform check of start-up. The decision is a plain function of what is known about
// the system, so that it can be tested apart from the system it runs on.

struct PlatformFacts {
    // Windows platform ids: 1 the Windows 95 family, 2 the NT family; kPlatformPosix for a
    // POSIX desktop.
    int PlatformId = 0;
    int MajorVersion = 0;
    // Every catalog is code page 932 text: without the converter nothing can be shown.
    bool HasCp932Converter = false;
};

inline constexpr int kPlatformWin32Windows = 1;
inline constexpr int kPlatformWin32NT = 2;
inline constexpr int kPlatformPosix = 100;

bool IsSupportedPlatform(const PlatformFacts& facts);

PlatformFacts CurrentPlatformFacts();

// Returns only on a supported platform; otherwise tells the user in a box without an owner
// and ends the process with exit code 1.
void CheckPlatform();
