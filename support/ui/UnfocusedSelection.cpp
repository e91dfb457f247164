#include "support/ui/UnfocusedSelection.h"

#include <QApplication>

namespace {

// Share of the highlight in the unfocused selection's colour: enough to see the selection,
// little enough to tell it from the focused one at a glance.
constexpr int HighlightPercent = 35;

QColor Mix(const QColor& a, const QColor& b, int percentOfA)
{
    const auto channel = [percentOfA](int x, int y) { return (x * percentOfA + y * (100 - percentOfA)) / 100; };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

}  // namespace

QPalette WithUnfocusedSelection(QPalette palette)
{
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    if (palette.color(QPalette::Inactive, QPalette::Highlight) != highlight)
        return palette;
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     Mix(highlight, palette.color(QPalette::Active, QPalette::Window), HighlightPercent));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Active, QPalette::Text));
    return palette;
}

void UseUnfocusedSelection()
{
    QApplication::setPalette(WithUnfocusedSelection(QApplication::palette()));
}
