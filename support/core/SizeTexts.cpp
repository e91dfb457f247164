#include "support/core/SizeTexts.h"

#include "support/core/Cp932.h"
#include "support/core/FileNames.h"

#include <QLocale>
#include <QStringList>

namespace {

QString Grouped(std::int64_t value)
{
    return QLocale().toString(static_cast<qlonglong>(value));
}

QString WithPartialMark(const QString& text, const SizeTotal& total)
{
    return total.Partial() ? text + QStringLiteral("（一部読めません）") : text;
}

} // namespace

QString SizeTotalText(const SizeTotal& total)
{
    return WithPartialMark(QStringLiteral("%1 バイト　%2 ファイル　%3 フォルダ")
                               .arg(Grouped(total.bytes), Grouped(total.files), Grouped(total.folders)),
                           total);
}

QString ShortSizeTotalText(const SizeTotal& total)
{
    return WithPartialMark(Cp932ToDisplay(FormatSizeText(static_cast<double>(total.bytes), false)), total);
}

QString CountingText(std::int64_t files)
{
    return QStringLiteral("計算中… %1 ファイル").arg(Grouped(files));
}

QString NestedObjectText(const std::string& holder)
{
    return QStringLiteral("「%1」に含まれています（合計には一度だけ数えます）").arg(Cp932ToDisplay(holder));
}

QString ObjectToolTip(const std::string& path, const std::string& holder, const ObjectSize* size)
{
    QString tip = Cp932ToDisplay(path);
    if (!holder.empty())
        tip += u'\n' + NestedObjectText(holder);
    if (size && size->Partial())
        tip += u'\n' + UnreadableSizeText(size->unreadable);
    return tip;
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

QString SizeHintText(const QString& filterNote, const std::string& holder, bool rescanning)
{
    const QString sizeHint = !holder.empty() ? NestedObjectText(holder) : rescanning ? RescanningText() : QString();
    QStringList parts{filterNote, sizeHint};
    parts.removeAll(QString());
    return parts.join(QStringLiteral("　"));
}
