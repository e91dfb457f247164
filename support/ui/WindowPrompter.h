#pragma once

#include "support/core/MessageDlg.h"

#include <QPointer>
#include <QWidget>

// The Prompter of a window the program does not lay out itself (the chooser's file
// dialog): every box is a ShowMessageDlgWnd box centred over that window.
class WindowPrompter : public Prompter {
public:
    explicit WindowPrompter(QWidget* ownerWindow) : ownerWindow_(ownerWindow) {}

    int ShowMessageDlg(const std::string& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                       int helpCtx) override;
    int ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                        int helpCtx) override;

private:
    QPointer<QWidget> ownerWindow_;
};
