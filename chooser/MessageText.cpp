#include "chooser/MessageText.h"

#include "support/core/Cp932.h"


std::string Cp932ForMessage(const QString& text)
{
    if (const auto whole = QStringToCp932(text))
        return *whole;
    std::string result;
    for (const char32_t code : text.toUcs4()) {
        const auto one = QStringToCp932(QString::fromUcs4(&code, 1));
        result += one.value_or("?");
    }
    return result;
}

QString RefusedNamesText(const QStringList& names)
{
    return QStringLiteral("次の名前にはこのプログラムで扱えない文字が含まれているため、"
                          "選択から外しました。\n")
        + names.join(u'\n');
}
