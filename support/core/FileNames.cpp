#include "support/core/FileNames.h"

#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"

#include <QLocale>

#include <cmath>
#include <optional>

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

// A character of a number the locale writes, in a form code page 932 can hold: a blank
// of any width becomes a plain blank, a digit of any script its ASCII digit, the locale's
// decimal and group signs "." and ","; a format mark (a direction mark) shows nothing and
// goes. Nothing when the character has no such form.
std::optional<std::string> NumberCharForm(const QLocale& locale, char32_t ch)
{
    const QString text = QString::fromUcs4(&ch, 1);
    if (auto bytes = QStringToCp932(text))
        return bytes;
    if (QChar::isDigit(ch))
        return std::string(1, static_cast<char>('0' + QChar::digitValue(ch)));
    if (QChar::category(ch) == QChar::Separator_Space)
        return " ";
    if (text == locale.decimalPoint())
        return ".";
    if (text == locale.groupSeparator())
        return ",";
    if (QChar::category(ch) == QChar::Other_Format)
        return std::string();
    return std::nullopt;
}

// A number the locale wrote, in code page 932. The status bars must always show the
// number: characters without a code page 932 form are replaced one by one, and a sign
// that has no replacement gives plainText, the number in ASCII.
std::string NumberText(const QLocale& locale, const QString& text, const QString& plainText)
{
    if (auto bytes = QStringToCp932(text))
        return *bytes;
    std::string result;
    for (const char32_t ch : text.toUcs4()) {
        const std::optional<std::string> form = NumberCharForm(locale, ch);
        if (!form)
            return plainText.toStdString();
        result += *form;
    }
    return result;
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
    owner.ShowMessageDlg(message, MsgDlgType::mtError, mbOK, 0);
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

std::string ObjectFolderText(std::string_view path)
{
    return NormalizeFolderPath(ExtractFilePath(path), PathDelim);
}

std::string AddPathDelimiter(std::string_view path, char delim)
{
    // With the host's "/" a trailing "\" is part of the last name: a folder named "a\" is
    // "a\/", not the folder above it.
    const bool ended = delim == '/' ? MBLastCharIs(path, '/') : EndsInDelimiter(path);
    if (path.empty() || ended)
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
    const QLocale locale;
    QLocale plain = QLocale::c();
    plain.setNumberOptions({});
    return NumberText(locale, locale.toString(value, 'f', 0), plain.toString(value, 'f', 0));
}

std::string ObjectCountText(double count, double selected, std::optional<double> total)
{
    if (selected != 0)
        return FormatGrouped(selected) + Cp932Text(" 件のオブジェクトを選択");
    const std::string shown = total ? FormatGrouped(count) + " / " + FormatGrouped(*total) : FormatGrouped(count);
    return shown + Cp932Text(" 件のオブジェクト");
}

std::string HiddenAddedText(double hidden)
{
    return hidden > 0 ? Cp932Text("追加した ") + FormatGrouped(hidden) + Cp932Text(" 件はフィルタ外です") : std::string();
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
    return NumberText(locale, locale.toString(x, 'f', 2), QLocale::c().toString(x, 'f', 2)) + unit;
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
