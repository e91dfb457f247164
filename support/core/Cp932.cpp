#include "support/core/Cp932.h"

#include <QList>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One converter per direction and thread, opened on first use: opening iconv is far
// dearer than a conversion of a path.
class Converter {
public:
    Converter(const char* to, const char* from)
        : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("no code page 932 converter on this system");
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> Convert(std::string_view input)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string output(input.size() * 2 + 4, '\0');
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        size_t done = 0;
        while (inLeft > 0) {
            char* out = output.data() + done;
            size_t outLeft = output.size() - done;
            const size_t rc = iconv(handle_, &in, &inLeft, &out, &outLeft);
            done = output.size() - outLeft;
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno != E2BIG)
                return std::nullopt;
            output.resize(output.size() * 2);
        }
        output.resize(done);
        return output;
    }

private:
    iconv_t handle_;
};

Converter& ToUtf8()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& FromUtf8()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

// "U+301C": how a message names a character that code page 932 cannot show.
std::string CodePointName(char32_t code)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    return name;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932)
{
    if (IsAscii(cp932))
        return std::string(cp932);
    return ToUtf8().Convert(cp932);
}

// Where several Unicode characters share one code page 932 form, only the one it reads back
// as converts: any other would come back changed.
std::optional<std::string> Utf8ToCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    auto cp932 = FromUtf8().Convert(utf8);
    if (!cp932 || ToUtf8().Convert(*cp932) != utf8)
        return std::nullopt;
    return cp932;
}

std::optional<QString> Cp932ToQString(std::string_view cp932)
{
    if (IsAscii(cp932))
        return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
    const auto utf8 = Cp932ToUtf8(cp932);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
}

std::optional<std::string> QStringToCp932(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    // A lone surrogate becomes U+FFFD in toUtf8; refuse it rather than store a stand-in.
    if (utf8.contains("\xEF\xBF\xBD"))
        return std::nullopt;
    return Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

std::string Cp932Problem(const QString& text)
{
    for (const char32_t code : text.toUcs4()) {
        const std::string utf8 = QString::fromUcs4(&code, 1).toStdString();
        const auto stored = FromUtf8().Convert(utf8);
        const auto readBack = stored ? ToUtf8().Convert(*stored) : std::nullopt;
        if (!readBack)
            return Cp932Text("文字 ") + CodePointName(code) + Cp932Text(" は Shift-JIS (CP932) で書けません。");
        if (*readBack == utf8)
            continue;
        const char32_t standIn = QString::fromStdString(*readBack).toUcs4().value(0);
        return Cp932Text("文字 ") + CodePointName(code) + Cp932Text(" は Shift-JIS (CP932) では別の文字「")
            + *stored + Cp932Text("」(") + CodePointName(standIn) + Cp932Text(") として保存されるため使えません。「")
            + *stored + Cp932Text("」を使ってください。");
    }
    return {};
}

QString Cp932ToDisplay(std::string_view cp932)
{
    if (auto whole = Cp932ToQString(cp932))
        return *whole;
    QString shown;
    size_t i = 0;
    while (i < cp932.size()) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        const size_t length = (lead && i + 1 < cp932.size()) ? 2 : 1;
        const auto piece = Cp932ToQString(cp932.substr(i, length));
        shown += piece ? *piece : QString(QChar::ReplacementCharacter);
        i += length;
    }
    return shown;
}

std::string Cp932Text(std::string_view utf8)
{
    auto bytes = Utf8ToCp932(utf8);
    if (!bytes)
        throw std::logic_error("program text has no code page 932 form");
    return *std::move(bytes);
}

std::string Cp932ForMessage(const QString& text)
{
    std::string message;
    for (const char32_t code : text.toUcs4())
        message += QStringToCp932(QString::fromUcs4(&code, 1)).value_or("?");
    return message;
}
