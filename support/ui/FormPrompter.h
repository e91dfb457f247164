#pragma once

#include "support/core/MessageDlg.h"

#include <QPointer>
#include <QWidget>

// The Prompter of a form: every box it shows is a ShowMessageDlg box owned by the form.
// Windows take a Prompter so that tests can answer their boxes; this is the real one.
class FormPrompter : public Prompter {
public:
    explicit FormPrompter(QWidget* owner) : owner_(owner) {}

    int ShowMessageDlg(const std::string& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                       int helpCtx) override;
    int ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                        int helpCtx) override;

private:
    QPointer<QWidget> owner_;
};
