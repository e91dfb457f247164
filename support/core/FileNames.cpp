#include "support/core/FileNames.h"

#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"

#include <QLocale>

#include <cmath>

namespace {

// The characters a file name may not hold, in the order they are looked for.
constexpr std::string_view ForbiddenNameChars = "\\/:,;*?\"<>|";

// Longest extension word the type text takes.
constexpr size_t MaxExtensionWord = 260;

bool IsAsciiLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool EndsInDelimiter(std::string_view path)
{
    return MBLastCharIs(path, '/') || MBLastCharIs(path, '\\');
}

std::string FromLocaleText(const QString& text)
{
    return QStringToCp932(text).value_or(std::string());
}

}  // namespace

std::string FileNameCharsMessage(std::string_view name)
{
    for (const char forbidden : ForbiddenNameChars) {
        if (NamePos(std::string_view(&forbidden, 1), name) == 0)
            continue;
        std::string list;
        for (const char ch : ForbiddenNameChars) {
            if (!list.empty())
                list += ' ';
            list += ch;
        }
        return Cp932Text("ファイル：") + std::string(name) + '\n'
            + Cp932Text("ファイル名には次の文字は使えません。") + '\n' + list;
    }
    return {};
}

bool CheckFileNameChars(Prompter& owner, std::string_view name)
{
    const std::string message = FileNameCharsMessage(name);
    if (message.empty())
        return true;
    owner.ShowMessageDlg(message, TMsgDlgType::mtError, mbOK, 0);
    return false;
}

char FilterNameChar(char key, bool allowPath)
{
    return CharNotInSet(key, allowPath ? "/*?\"<>|" : "\\/:*?\"<>|");
}

char CharNotInSet(char ch, std::string_view set)
{
    return set.find(ch) == std::string_view::npos ? ch : '\0';
}

std::string NormalizeFolderPath(std::string_view path, char delim)
{
    std::string result(path);
    if (result.size() == 1 && IsAsciiLetter(result[0]))
        result = std::string(1, static_cast<char>(result[0] & ~0x20)) + ':';
    if (MBLastCharIs(result, ':'))
        result += delim;
    if (result.size() == 3 && MBLastCharIs(result, delim))
        return result;
    // The host's root folder plays the part of a drive root and stays whole.
    if (delim == '/' && result == "/")
        return result;
    return RemovePathDelimiter(result);
}

std::string AddPathDelimiter(std::string_view path, char delim)
{
    if (path.empty() || EndsInDelimiter(path))
        return std::string(path);
    return std::string(path) + delim;
}

std::string RemovePathDelimiter(std::string_view path)
{
    if (EndsInDelimiter(path))
        path.remove_suffix(1);
    return std::string(path);
}

std::string FileTypeText(std::string_view fileName, std::string_view typeName)
{
    if (!typeName.empty())
        return std::string(typeName);
    std::string word;
    if (NamePos(".", fileName) == 1) {
        word = fileName.substr(1);
    } else {
        const std::string ext = ExtractFileExt(fileName);
        if (ext.empty())
            return Cp932Text("ファイル");
        word = ext.substr(1);
    }
    if (word.size() > MaxExtensionWord)
        word.resize(MaxExtensionWord);
    return MBUpperCase(word) + ' ' + Cp932Text("ファイル");
}

std::string FormatGrouped(double value)
{
    return FromLocaleText(QLocale().toString(value, 'f', 0));
}

std::string FormatSizeText(double bytes, bool truncate)
{
    double x = bytes / 1024;
    const char* unit = " KB";
    if (x >= 1025) {
        x /= 1024;
        unit = " MB";
        if (x >= 1025) {
            x /= 1024;
            unit = " GB";
        }
    }
    if (truncate)
        x = std::trunc(x * 100) / 100;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return FromLocaleText(locale.toString(x, 'f', 2)) + unit;
}

int CompareFileNames(std::string_view a, std::string_view b)
{
    return MBCompareText(a, b);
}

QCollatorSortKey FileNameSortKey(std::string_view name)
{
    return MBCompareKey(name);
}

int NamePos(std::string_view sub, std::string_view s)
{
    return MBPos(sub, s);
}

bool LastCharIs(std::string_view s, char ch)
{
    return !s.empty() && MBLastCharIs(s, ch);
}

bool HasNetworkFolder()
{
    return false;
}
