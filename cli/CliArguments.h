#pragma once

#include <string>
#include <string_view>

// The border between the terminal (UTF-8 arguments and output, host paths) and the program's
// code page 932 strings. An argument that has no code page 932 form is refused with
// CliFailure, naming it.

// A name as typed, in code page 932.
std::string NameArgument(const std::string& utf8);

// A path made absolute against the current folder, with "." and ".." resolved and no
// trailing delimiter except at the root, in code page 932.
std::string PathArgument(const std::string& utf8);

// A program text (code page 932) for the terminal; bytes that are no code page 932 text show
// as U+FFFD.
std::string ToTerminal(std::string_view cp932);
