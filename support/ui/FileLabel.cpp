#include "support/ui/FileLabel.h"

#include "support/core/Cp932.h"

#include <QFontMetrics>

TFileLabel::TFileLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TFileLabel::SetFileName(const std::string& fileName)
{
    if (fileName == path_.FileName())
        return;
    path_ = PathCaption(fileName, path_.Separator());
    LayoutCaption();
}

void TFileLabel::SetSeparator(const std::string& separator)
{
    if (separator == path_.Separator())
        return;
    path_ = PathCaption(path_.FileName(), separator);
    LayoutCaption();
}

void TFileLabel::SetDirection(TDirection direction)
{
    if (direction == direction_)
        return;
    direction_ = direction;
    LayoutCaption();
}

void TFileLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    LayoutCaption();
}

void TFileLabel::moveEvent(QMoveEvent* event)
{
    QLabel::moveEvent(event);
    LayoutCaption();
}

void TFileLabel::LayoutCaption()
{
    const QFontMetrics metrics(font());
    const auto measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(Cp932ToDisplay(text));
    };
    setText(Cp932ToDisplay(path_.Layout(contentsRect().width(), direction_, measure)));
}
