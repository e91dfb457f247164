#pragma once

#include "support/core/Cp932.h"
#include "support/core/MessageDlg.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// A Prompter for tests: answers each box with the next scripted result (mrOk when the
// script has run out) and records every box it was asked to show.
class ScriptedPrompter : public Prompter {
public:
    struct Box {
        std::string msg;
        MsgDlgType dlgType;
        MsgDlgButtons buttons;
        QString text;  // as the box shows it
    };

    void Answer(int result) { answers_.push_back(result); }
    // Runs while each box is open, before it is answered: what another program does while
    // the user reads the box.
    void WhileOpen(std::function<void()> action) { whileOpen_ = std::move(action); }

    int ShowMessageDlg(const std::string& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                       int /*helpCtx*/) override
    {
        boxes.push_back({msg, dlgType, buttons, Cp932ToDisplay(msg)});
        if (whileOpen_)
            whileOpen_();
        if (answers_.empty())
            return mrOk;
        const int result = answers_.front();
        answers_.pop_front();
        return result;
    }

    int ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                        int helpCtx) override
    {
        const int result = Prompter::ShowMessageText(text, dlgType, buttons, helpCtx);
        boxes.back().text = text;
        return result;
    }

    std::vector<Box> boxes;

private:
    std::deque<int> answers_;
    std::function<void()> whileOpen_;
};
