#pragma once

#include <string>
#include <string_view>

// The errors of reading and writing catalogs and the control file, as code page 932 text
// with the path in place.

// "ファイル %s を作成できません"
std::string CannotCreateFileMessage(std::string_view path);
// "ストリームへの書き込みエラー"
std::string StreamWriteErrorMessage();
// "ファイル %s は開けません"
std::string CannotOpenFileMessage(std::string_view path);
// "%s に書き込めません"
std::string CannotWriteToMessage(std::string_view path);
