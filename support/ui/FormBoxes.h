#pragma once

#include "support/ui/OwnerPrompter.h"

// Where a window's questions and error boxes go: the Prompter its services name (tests
// answer the boxes that way), or else the window's own boxes over it.
class FormBoxes {
public:
    FormBoxes(QWidget* window, Prompter* given, BoxOwner kind = BoxOwner::Form)
        : own_(window, kind), prompter_(given ? given : &own_)
    {
    }
    FormBoxes(const FormBoxes&) = delete;
    FormBoxes& operator=(const FormBoxes&) = delete;

    Prompter& operator*() const { return *prompter_; }
    Prompter* operator->() const { return prompter_; }

private:
    OwnerPrompter own_;
    Prompter* prompter_;
};
