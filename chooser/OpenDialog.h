#pragma once

#include "chooser/OpenDialogServices.h"
#include "chooser/OpenOptions.h"

#include <QPointer>
#include <QWidget>
#include <QStringList>

#include <exception>
#include <functional>
#include <string>
#include <vector>

class OpenDialogWindow;

// The open dialog as a component: the caller sets its properties, runs it modally and
// reads the result. Strings are code page 932 in host syntax; the dialog's names and paths
// are converted at this border, and a chosen name without a code page 932 form is refused
// by name while the rest of the choice goes on.
//
// A subclass sees the running dialog through the Do... steps and WndCommand, the commands
// of the controls its template added. An error thrown by a step closes the dialog and
// leaves RunChooser, so that no error crosses the dialog's event loop.
class OpenDialog {
public:
    using NotifyEvent = std::function<void(OpenDialog& sender)>;

    explicit OpenDialog(QWidget* owner, OpenDialogServices services = {});
    virtual ~OpenDialog();
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

    std::string DefaultExt;
    std::string FileName;          // the first chosen path after a confirmed run
    std::string Filter;            // "caption|patterns|caption|patterns...", patterns split by ";"
    int FilterIndex = 1;
    std::string InitialDir;
    OpenOptions Options = ofHideReadOnly | ofEnableSizing;
    std::string Title;
    std::vector<std::string> SelectedFiles;   // every chosen name as a full path, in order

    NotifyEvent OnShow;
    NotifyEvent OnClose;
    NotifyEvent OnFolderChange;
    NotifyEvent OnSelectionChange;
    NotifyEvent OnTypeChange;

    // Runs the dialog modally; true when the user confirmed.
    virtual bool RunChooser();

protected:
    // The running dialog, null outside RunChooser.
    OpenDialogWindow* Window() const { return window_; }
    QWidget* Owner() const { return owner_; }
    // The boxes of the running dialog, centred over it.
    Prompter& DialogBoxes() const;

    // The child template the next run adds (see DialogTemplates.h); empty: none.
    std::string dialogTemplate_;

    // A name left out of the result; the user is told when the run is confirmed.
    void Refuse(const QString& name) { refused_.append(name); }
    // A warning box over the owner, for what the user must know once the dialog is closed.
    void TellAfterRun(const QString& text);

    virtual void DoShow();
    virtual void DoClose();
    virtual void DoFolderChange();
    virtual void DoSelectionChange();
    virtual void DoTypeChange();
    virtual void WndCommand(int id);

private:
    void SetUpWindow(OpenDialogWindow& window);
    void ConnectSteps(OpenDialogWindow& window);
    void TakeResult(const OpenDialogWindow& window);
    void TellRefused();
    void Guard(const std::function<void()>& step);
    void Fire(const NotifyEvent& event);

    QPointer<QWidget> owner_;
    OpenDialogServices services_;
    OpenDialogWindow* window_ = nullptr;
    std::exception_ptr pending_;
    QStringList refused_;
};
