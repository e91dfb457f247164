#pragma once

#include "support/core/MessageDlg.h"

#include <string>

class QWidget;
class TMessageForm;

// The program's question and error boxes. Every box is a TMessageForm shown modally over
// its owner; the text is code page 932. Before each box the "BeepSound" setting is read
// (a value of the wrong type throws ERegistryException before anything shows), and an
// error box beeps unless that setting is true.

// A box owned by a form: centred over it, kept on the screen and off the taskbar. Without
// an owner the box is centred on the screen.
int ShowMessageDlg(QWidget* owner, const std::string& msg, MsgDlgType dlgType,
                   MsgDlgButtons buttons, int helpCtx);

// A box owned by a window the program does not lay out itself (the chooser's file
// dialog): centred over it and kept on the screen, not moved off the taskbar.
int ShowMessageDlgWnd(QWidget* ownerWindow, const std::string& msg, MsgDlgType dlgType,
                      MsgDlgButtons buttons, int helpCtx);

// The same two boxes for a text that may hold characters with no code page 932 form (the
// names of refused files as the host shows them).
int ShowMessageTextDlg(QWidget* owner, const QString& text, MsgDlgType dlgType,
                   MsgDlgButtons buttons, int helpCtx);
int ShowMessageTextWnd(QWidget* ownerWindow, const QString& text, MsgDlgType dlgType,
                      MsgDlgButtons buttons, int helpCtx);

// The same without the beep rule, with an explicit screen position for the box's top-left
// corner: x and y apply each when not negative, over the placement by the owner.
int MessageDlgOnForm(QWidget* owner, const std::string& msg, MsgDlgType dlgType,
                     MsgDlgButtons buttons, int helpCtx, int x, int y);
int MessageDlgOnWindow(QWidget* ownerWindow, const std::string& msg, MsgDlgType dlgType,
                       MsgDlgButtons buttons, int helpCtx, int x, int y);

// Shows a box built by the caller modally, placed as ShowMessageDlg places its boxes, and
// gives its result code. The box's parent should be WindowOf(owner).
int ExecOverOwner(TMessageForm& form, QWidget* owner);

// The window a box for owner belongs to (null for none).
QWidget* WindowOf(QWidget* owner);
