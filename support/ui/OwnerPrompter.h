#pragma once

#include "support/core/MessageDlg.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

// What kind of window owns the boxes: a form the program lays out gets boxes centred over
// it and kept off the taskbar (ShowMessageDlg); a window the program does not lay out
// itself, such as the chooser's file dialog, gets boxes centred over it and only kept on
// the screen (ShowMessageDlgWnd).
enum class BoxOwner : std::uint8_t { Form, Window };

// The real Prompter: every box it shows is one of the program's message boxes over its
// owner. Windows take a Prompter so that tests can answer their boxes.
class OwnerPrompter : public Prompter {
public:
    explicit OwnerPrompter(QWidget* owner, BoxOwner kind = BoxOwner::Form) : owner_(owner), kind_(kind) {}

    int ShowMessageDlg(const std::string& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                       int helpCtx) override;
    int ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                        int helpCtx) override;

private:
    QPointer<QWidget> owner_;
    BoxOwner kind_;
};
