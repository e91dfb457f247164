#include "app/SizeTexts.h"

#include "support/core/Cp932.h"

#include <QLocale>
#include <QStringList>

namespace {

QString Grouped(std::int64_t value)
{
    return QLocale().toString(static_cast<qlonglong>(value));
}

} // namespace

QString SizeTotalText(const SizeTotal& total)
{
    const QString text = QStringLiteral("%1 バイト　%2 ファイル　%3 フォルダ")
                             .arg(Grouped(total.bytes), Grouped(total.files), Grouped(total.folders));
    return total.Partial() ? text + QStringLiteral("（一部読めません）") : text;
}

QString CountingText(std::int64_t files)
{
    return QStringLiteral("計算中… %1 ファイル").arg(Grouped(files));
}

QString NestedObjectText(const std::string& holder)
{
    return QStringLiteral("「%1」に含まれています（合計には一度だけ数えます）").arg(Cp932ToDisplay(holder));
}

QString UnreadableSizeText(const std::vector<std::string>& unreadable)
{
    constexpr std::size_t Named = 3;
    QStringList places;
    for (std::size_t i = 0; i < unreadable.size() && i < Named; ++i)
        places << Cp932ToDisplay(unreadable[i]);
    if (unreadable.size() > Named)
        places << QStringLiteral("ほか %1 か所").arg(Grouped(std::int64_t(unreadable.size() - Named)));
    return QStringLiteral("読めない場所は数えていません: %1").arg(places.join(QStringLiteral("、")));
}

QString RescanningText()
{
    return QStringLiteral("フォルダが多いため、サイズは定期的に確かめ直します");
}
