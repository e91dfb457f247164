#include "support/core/Collation.h"

#include "support/core/Cp932.h"

#include <QCollator>
#include <QLocale>

#include <optional>

namespace {

// A collator of the default locale, rebuilt when the default locale changes; building one
// is far dearer than a comparison.
const QCollator& DefaultCollator(Qt::CaseSensitivity caseSensitivity)
{
    struct Cached {
        QLocale locale;
        QCollator collator;
    };
    thread_local std::optional<Cached> cached[2];
    auto& slot = cached[caseSensitivity == Qt::CaseSensitive ? 1 : 0];
    if (const QLocale current; !slot || slot->locale != current) {
        slot.emplace(Cached { current, QCollator(current) });
        slot->collator.setCaseSensitivity(caseSensitivity);
    }
    return slot->collator;
}

int Compare(std::string_view a, std::string_view b, Qt::CaseSensitivity caseSensitivity)
{
    const int order
        = DefaultCollator(caseSensitivity).compare(Cp932ToDisplay(a), Cp932ToDisplay(b));
    return (order > 0) - (order < 0);
}

}  // namespace

int LocaleCompare(std::string_view a, std::string_view b)
{
    return Compare(a, b, Qt::CaseSensitive);
}

QCollatorSortKey LocaleSortKey(std::string_view s)
{
    return DefaultCollator(Qt::CaseSensitive).sortKey(Cp932ToDisplay(s));
}

int LocaleCompareNoCase(std::string_view a, std::string_view b)
{
    return Compare(a, b, Qt::CaseInsensitive);
}

QCollatorSortKey LocaleSortKeyNoCase(std::string_view s)
{
    // Under the C locale the collator keys the text as it stands while its comparison
    // folds case; folding first keeps keys and comparisons in one order.
    const QString text = Cp932ToDisplay(s);
    const bool plainLocale = QLocale().language() == QLocale::C;
    return DefaultCollator(Qt::CaseInsensitive).sortKey(plainLocale ? text.toCaseFolded() : text);
}
