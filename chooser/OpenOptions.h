#pragma once

#include <cstdint>

// The options of the open dialog, a set of bits. Only the options this program's choosers
// use change the dialog's behaviour; the others are kept so that a set reads like the
// familiar option list.
using OpenOptions = std::uint32_t;

inline constexpr OpenOptions ofReadOnly = 1u << 0;
inline constexpr OpenOptions ofOverwritePrompt = 1u << 1;
// The dialog has no read-only check box at all, so hiding it is always the case.
inline constexpr OpenOptions ofHideReadOnly = 1u << 2;
inline constexpr OpenOptions ofNoChangeDir = 1u << 3;
inline constexpr OpenOptions ofAllowMultiSelect = 1u << 6;
// Typed names must lie in a folder that exists.
inline constexpr OpenOptions ofPathMustExist = 1u << 8;
// Typed names must name files that exist.
inline constexpr OpenOptions ofFileMustExist = 1u << 9;
// The dialog never creates a file to test a name; it never does, so this is always the case.
inline constexpr OpenOptions ofNoTestFileCreate = 1u << 13;
inline constexpr OpenOptions ofOldStyleDialog = 1u << 16;
// Symbolic links are returned as they are, not resolved to their targets.
inline constexpr OpenOptions ofNoDereferenceLinks = 1u << 17;
// The dialog's border can be dragged to resize it.
inline constexpr OpenOptions ofEnableSizing = 1u << 19;
