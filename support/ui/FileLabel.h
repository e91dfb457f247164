#pragma once

#include "support/core/PathCaption.h"

#include <QLabel>

#include <string>

// A one-line label showing a file path (code page 932). A path wider than the label gives
// up a run of folder names to "..." (see PathCaption); the caption follows every change of
// FileName, Separator, Direction and of the label's bounds. A change of font alone keeps
// the caption until the next of those. The label asks for no width of its own: its
// layout decides and the caption fits what it gets.
class TFileLabel : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFileLabel)

public:
    explicit TFileLabel(QWidget* parent = nullptr);

    const std::string& FileName() const { return path_.FileName(); }
    void SetFileName(const std::string& fileName);

    // The text between two parts of the path, "\" unless set; may be longer than a byte.
    const std::string& Separator() const { return path_.Separator(); }
    void SetSeparator(const std::string& separator);

    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection direction);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void LayoutCaption();

    PathCaption path_{std::string(), "\\"};
    TDirection direction_ = TDirection::drFromLeft;
};
