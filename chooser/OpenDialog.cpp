#include "chooser/OpenDialog.h"

#include "chooser/DialogTemplates.h"
#include "chooser/MessageText.h"
#include "chooser/OpenDialogWindow.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/MessageDlg.h"
#include "support/ui/FormBoxes.h"

#include <QDir>
#include <QLineEdit>

namespace {

// "caption|patterns|caption|patterns": split on the screen text, where "|" is never part
// of a double-byte character.
QList<OpenDialogWindow::FileType> ParseFilter(const std::string& filter)
{
    const QStringList parts = Cp932ToDisplay(filter).split(u'|');
    QList<OpenDialogWindow::FileType> types;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        types.append({parts[i], parts[i + 1].split(u';', Qt::SkipEmptyParts)});
    return types;
}

}  // namespace

OpenDialog::OpenDialog(QWidget* owner, OpenDialogServices services) : owner_(owner), services_(services) {}

OpenDialog::~OpenDialog() = default;

bool OpenDialog::RunChooser()
{
    SelectedFiles.clear();
    refused_.clear();
    pending_ = nullptr;

    OpenDialogWindow window(owner_, services_);
    SetUpWindow(window);
    window_ = &window;
    ConnectSteps(window);
    const bool confirmed = window.exec() == QDialog::Accepted;
    window_ = nullptr;
    if (pending_)
        std::rethrow_exception(pending_);
    if (!confirmed)
        return false;
    TakeResult(window);
    TellRefused();
    return true;
}

void OpenDialog::SetUpWindow(OpenDialogWindow& window)
{
    window.setWindowTitle(Title.empty() ? QStringLiteral("ファイルを開く") : Cp932ToDisplay(Title));
    window.SetFileTypes(ParseFilter(Filter), FilterIndex);
    window.SetMultiSelect((Options & ofAllowMultiSelect) != 0);
    window.SetPathMustExist((Options & ofPathMustExist) != 0);
    window.SetFileMustExist((Options & ofFileMustExist) != 0);
    window.SetDefaultExt(Cp932ToDisplay(DefaultExt));
    BuildDialogTemplate(window, dialogTemplate_);
    window.SetSizing((Options & ofEnableSizing) != 0);
    window.StartIn(ToQtPath(InitialDir).value_or(QString()));
    window.FileNameBox()->setText(Cp932ToDisplay(FileName));
}

void OpenDialog::ConnectSteps(OpenDialogWindow& window)
{
    QObject::connect(&window, &OpenDialogWindow::initDone, [this] { Guard([this] { DoShow(); }); });
    QObject::connect(&window, &OpenDialogWindow::closing, [this] { Guard([this] { DoClose(); }); });
    QObject::connect(&window, &OpenDialogWindow::folderChanged,
                     [this] { Guard([this] { DoFolderChange(); }); });
    QObject::connect(&window, &OpenDialogWindow::selectionChanged,
                     [this] { Guard([this] { DoSelectionChange(); }); });
    QObject::connect(&window, &OpenDialogWindow::typeChanged,
                     [this] { Guard([this] { DoTypeChange(); }); });
    QObject::connect(&window, &OpenDialogWindow::templateCommand,
                     [this](int id) { Guard([this, id] { WndCommand(id); }); });
}

void OpenDialog::TakeResult(const OpenDialogWindow& window)
{
    for (const QString& path : window.ResultPaths()) {
        if (const auto chosen = FromQtPath(path))
            SelectedFiles.push_back(*chosen);
        else
            Refuse(QDir::toNativeSeparators(path));
    }
    FileName = SelectedFiles.empty() ? std::string() : SelectedFiles.front();
    FilterIndex = window.FileTypeIndex();
}

void OpenDialog::TellRefused()
{
    if (refused_.isEmpty())
        return;
    TellAfterRun(RefusedNamesText(refused_));
}

void OpenDialog::TellAfterRun(const QString& text)
{
    const FormBoxes boxes(owner_, services_.prompter);
    boxes->ShowMessageText(text, MsgDlgType::mtWarning, mbOK, 0);
}

Prompter& OpenDialog::DialogBoxes() const
{
    return window_->Boxes();
}

void OpenDialog::Guard(const std::function<void()>& step)
{
    if (pending_)
        return;
    try {
        step();
    } catch (...) {
        pending_ = std::current_exception();
        // Queued: a step may fail while the dialog is being shown, before its event loop
        // runs, and a dialog closed then would leave that loop waiting for ever.
        if (window_)
            QMetaObject::invokeMethod(window_, &QDialog::reject, Qt::QueuedConnection);
    }
}

void OpenDialog::DoShow() { Fire(OnShow); }
void OpenDialog::DoClose() { Fire(OnClose); }
void OpenDialog::DoFolderChange() { Fire(OnFolderChange); }
void OpenDialog::DoSelectionChange() { Fire(OnSelectionChange); }
void OpenDialog::DoTypeChange() { Fire(OnTypeChange); }

void OpenDialog::Fire(const NotifyEvent& event)
{
    if (event)
        event(*this);
}

void OpenDialog::WndCommand(int) {}
