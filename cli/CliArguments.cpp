#include "cli/CliArguments.h"

#include "cli/CliFailure.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"

#include <filesystem>

namespace {

[[noreturn]] void RefuseWithoutCp932(const std::string& utf8)
{
    throw CliFailure("「" + utf8 + "」には Shift-JIS (CP932) で書けない文字があります: "
                     + ToTerminal(Cp932Problem(QString::fromStdString(utf8))));
}

}  // namespace

std::string NameArgument(const std::string& utf8)
{
    auto cp932 = Utf8ToCp932(utf8);
    if (!cp932)
        RefuseWithoutCp932(utf8);
    return *std::move(cp932);
}

std::string PathArgument(const std::string& utf8)
{
    if (utf8.empty())
        throw CliFailure("空のパスは使えません");
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(utf8, error);
    if (error)
        throw CliFailure("「" + utf8 + "」の絶対パスが分かりません: " + error.message());
    std::string host = absolute.lexically_normal().string();
    if (host.size() > 1 && host.back() == PathDelim)
        host.pop_back();
    auto cp932 = FromHostPath(host);
    if (!cp932)
        RefuseWithoutCp932(utf8);
    return *std::move(cp932);
}

std::string ToTerminal(std::string_view cp932)
{
    if (auto utf8 = Cp932ToUtf8(cp932))
        return *std::move(utf8);
    return Cp932ToDisplay(cp932).toStdString();
}
