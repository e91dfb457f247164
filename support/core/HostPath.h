#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The border between the program's paths (code page 932 bytes in the host's syntax) and the
// operating system's file names (UTF-8 on Linux). Everything that touches the disk converts
// here; a path with no host form names nothing that exists.

// The delimiter of host paths; callers that append or strip a delimiter pass this one.
inline constexpr char PathDelim = '/';

// The bytes to hand to the operating system, or nothing when the path has no host form.
std::optional<std::string> ToHostPath(std::string_view cp932Path);

// The program's form of a name the operating system gave, or nothing when the name has no
// code page 932 form that converts back to the same name (the caller refuses that item by
// name and goes on).
std::optional<std::string> FromHostPath(std::string_view hostPath);

// The same borders for Qt's file classes (QFile, QDir, QFileInfo).
std::optional<QString> ToQtPath(std::string_view cp932Path);
std::optional<std::string> FromQtPath(const QString& qtPath);

// The text after the last host delimiter (the whole path when there is none).
std::string ExtractFileName(std::string_view path);

// The path up to and including the last host delimiter ("" when there is none).
std::string ExtractFilePath(std::string_view path);

// The extension of the last part with its dot ("" when the last part has no dot).
std::string ExtractFileExt(std::string_view path);

// The path with its extension replaced by ext (which brings its own dot, or is "").
std::string ChangeFileExt(std::string_view path, std::string_view ext);
