#include "chooser/CabOpenDialog.h"

#include "chooser/DialogTemplates.h"
#include "chooser/HistoryItemDelegate.h"
#include "chooser/KnownFolders.h"
#include "chooser/OpenDialogWindow.h"
#include "chooser/SideListDelegate.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"
#include "support/ui/ImageList.h"
#include "support/ui/ObjectIcons.h"
#include "support/ui/UIFonts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int SidePanelWidth = 100;
constexpr int HistoryDropDownWidth = 385;
constexpr int DropDownLines = 15;

std::string WithoutTrailingDelimiter(std::string path)
{
    if (path.size() > 1 && MBLastCharIs(path, PathDelim))
        path.pop_back();
    return path;
}

// What a history entry shows: its full path, or the folder's own name when full paths are
// not wanted; the root always shows as itself.
QString HistoryText(const std::string& entry, bool showFullPath)
{
    const std::string shown = WithoutTrailingDelimiter(entry);
    if (showFullPath || shown == std::string(1, PathDelim))
        return Cp932ToDisplay(shown);
    const std::string name = ExtractFileName(shown);
    return Cp932ToDisplay(name.empty() ? shown : name);
}

}  // namespace

TCabOpenDialog::TCabOpenDialog(QWidget* owner, OpenDialogServices services)
    : OpenDialog(owner, services)
{
}

void TCabOpenDialog::SetAssociated(TCabOpenDialog* other)
{
    if (other != this)
        associated_ = other;
}

bool TCabOpenDialog::RunChooser()
{
    Options &= ~ofOldStyleDialog;
    if (!TemplateName.empty())
        dialogTemplate_ = TemplateName;
    else
        dialogTemplate_ = UsesUIGothicFont() ? "CABINET_OPEN_DIALOG" : "CABINET_OPEN_DIALOG2";
    if (SetInitDirFrom1st && !history_.empty())
        InitialDir = history_.front();
    return OpenDialog::RunChooser();
}

std::string TCabOpenDialog::GetCurrentFolder() const
{
    if (!Window())
        return {};
    const auto folder = FromQtPath(Window()->CurrentFolder());
    return folder ? WithoutTrailingDelimiter(*folder) : std::string();
}

void TCabOpenDialog::JumpToFolder(const std::string& path)
{
    if (!Window())
        return;
    Window()->JumpTo(ToQtPath(path).value_or(Cp932ToDisplay(path)));
    if (AutoFocusChange)
        Window()->FileNameBox()->setFocus();
}

void TCabOpenDialog::AddToHistory(std::vector<std::string>& list, const std::string& path,
                                  bool atTop) const
{
    if (path.empty())
        return;
    const std::string folder = WithoutTrailingDelimiter(path);
    const auto same = std::find_if(list.begin(), list.end(), [&](const std::string& entry) {
        return CompareFileNames(entry, folder) == 0;
    });
    if (same != list.end())
        list.erase(same);
    while (!list.empty() && static_cast<int>(list.size()) >= MaxCount)
        list.pop_back();
    if (atTop)
        list.insert(list.begin(), folder);
    else
        list.push_back(folder);
}

void TCabOpenDialog::AssignHistory(int index, const std::vector<std::string>& source)
{
    history_.clear();
    const std::size_t count = std::min(source.size(), static_cast<std::size_t>(std::max(MaxCount, 0)));
    for (std::size_t i = 0; i < count; ++i)
        AddToHistory(history_, source[i], false);
    if (index == 1 && associated_)
        associated_->AssignHistory(0, history_);
}

void TCabOpenDialog::LoadHistory()
{
    if (Key.empty())
        return;
    TRegistry registry;
    if (RootKey == TRootKey::hkCurrentUser && registry.OpenKey(Key, false)
        && registry.ValueExists(RegHistoryCount)) {
        history_.clear();
        const int count = registry.ReadInteger(RegHistoryCount);
        // The entries are written without gaps; a missing one ends the list, so that a
        // damaged count cannot keep the dialog reading for ever.
        for (int i = 0; i < count && registry.ValueExists(std::to_string(i)); ++i) {
            const std::string folder = registry.ReadString(std::to_string(i));
            if (DirExists(folder))
                history_.push_back(folder);
        }
    }
    if (associated_)
        associated_->AssignHistory(0, history_);
}

void TCabOpenDialog::SaveHistory()
{
    if (Key.empty() || RootKey != TRootKey::hkCurrentUser)
        return;
    TRegistry registry;
    if (!registry.OpenKey(Key, true))
        return;
    registry.WriteInteger(RegHistoryCount, static_cast<std::int32_t>(history_.size()));
    for (std::size_t i = 0; i < history_.size(); ++i)
        registry.WriteString(std::to_string(i), history_[i]);
}

const TImageList& TCabOpenDialog::GetImages() const
{
    return ImageList ? *ImageList : GetSystemImageList();
}

std::string TCabOpenDialog::GetItemPath(const TCabinetItem& item) const
{
    const std::string suffix
        = item.FolderPath.empty() ? std::string() : std::string(1, PathDelim) + item.FolderPath;
    switch (static_cast<TRootFolder>(item.RootFolder)) {
    case TRootFolder::rfCurrent:
        return item.FolderPath;
    case TRootFolder::rfInitialDir:
        return InitialDir + item.FolderPath;
    case TRootFolder::rfApplication:
        return AddPathDelimiter(FromQtPath(QCoreApplication::applicationDirPath()).value_or(""), PathDelim)
            + item.FolderPath;
    case TRootFolder::rfDesktop:
        return GetSpecialFolderPath(CSIDL_DESKTOP) + suffix;
    case TRootFolder::rfMyDocument:
        return GetSpecialFolderPath(CSIDL_PERSONAL) + suffix;
    case TRootFolder::rfMyComputer:
        return ComputerFolderName + suffix;
    case TRootFolder::rfNetwork:
        return NetworkFolderName + suffix;
    }
    return {};
}

int TCabOpenDialog::GetItemImageIndex(const TCabinetItem& item) const
{
    if (ImageList || item.ImageIndex != 0)
        return item.ImageIndex;
    if (item.RootFolder == static_cast<std::uint8_t>(TRootFolder::rfDesktop) && item.FolderPath.empty())
        return GetDesktopIconIndex();
    return GetFileIconIndex(GetItemPath(item));
}

QComboBox* TCabOpenDialog::HistoryList() const
{
    return Window() ? qobject_cast<QComboBox*>(Window()->DlgItem(IdHistoryList)) : nullptr;
}

QPushButton* TCabOpenDialog::SaveButton() const
{
    return Window() ? qobject_cast<QPushButton*>(Window()->DlgItem(IdSaveHistory)) : nullptr;
}

void TCabOpenDialog::DoShow()
{
    // Nothing of an associated chooser's history survives the show step: the history
    // shown is always the stored one.
    history_.clear();
    LoadHistory();
    FillHistoryCombo();
    Window()->FileTypeList()->setMaxVisibleItems(DropDownLines);
    if (QComboBox* history = HistoryList()) {
        history->setMaxVisibleItems(DropDownLines);
        history->view()->setMinimumWidth(HistoryDropDownWidth);
    }
    CreateSideList();
    OpenDialog::DoShow();
}

void TCabOpenDialog::CreateSideList()
{
    auto* panel = new QFrame(Window()->TemplateDialog());
    panel->setObjectName(QStringLiteral("SidePanel"));
    panel->setFixedWidth(SidePanelWidth);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new QListWidget(panel);
    list->setObjectName(QStringLiteral("SideList"));
    list->setFrameShape(QFrame::StyledPanel);
    list->setFrameShadow(QFrame::Sunken);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Color);
    list->setPalette(palette);
    list->setItemDelegate(new SideListDelegate(GetImages(), Color, list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setAccessibleName(QStringLiteral("場所の一覧"));
    list->setAccessibleDescription(QStringLiteral("よく使う場所。選ぶとその場所のフォルダを表示します"));
    for (TCabinetItem& item : Items) {
        item.ImageIndex = GetItemImageIndex(item);
        auto* line = new QListWidgetItem(Cp932ToDisplay(item.Caption), list);
        line->setData(Qt::UserRole, item.ImageIndex);
        line->setToolTip(Cp932ToDisplay(GetItemPath(item)));
    }
    layout->addWidget(list);
    Window()->SideArea()->addWidget(panel);
    sidePanel_ = panel;
    QObject::connect(list, &QListWidget::itemClicked, list,
                     [this, list](QListWidgetItem* line) { SideListClick(list->row(line)); });
    QObject::connect(list, &QListWidget::activated, list,
                     [this](const QModelIndex& index) { SideListClick(index.row()); });
}

void TCabOpenDialog::SideListClick(int row)
{
    if (row >= 0 && row < Items.Count())
        JumpToItem(Items.Items(row));
}

void TCabOpenDialog::FillHistoryCombo()
{
    QComboBox* list = HistoryList();
    if (!list)
        return;
    if (!qobject_cast<HistoryItemDelegate*>(list->itemDelegate()))
        list->setItemDelegate(new HistoryItemDelegate(list));
    const TImageList& icons = GetSystemImageList();
    list->clear();
    for (const std::string& entry : history_) {
        list->addItem(icons.Icon(GetFileIconIndex(entry)), Cp932ToDisplay(entry));
        list->setItemData(list->count() - 1, HistoryText(entry, ShowFullPath), Qt::UserRole);
    }
    list->setCurrentIndex(history_.empty() ? -1 : 0);
}

void TCabOpenDialog::DoClose()
{
    delete sidePanel_.data();
    SaveHistory();
    if (associated_)
        associated_->AssignHistory(0, history_);
    OpenDialog::DoClose();
}

void TCabOpenDialog::DoFolderChange()
{
    const std::string folder = GetCurrentFolder();
    const bool saved = std::any_of(history_.begin(), history_.end(), [&](const std::string& entry) {
        return CompareFileNames(entry, folder) == 0;
    });
    if (QPushButton* save = SaveButton())
        save->setEnabled(!saved);
    OpenDialog::DoFolderChange();
}

void TCabOpenDialog::WndCommand(int id)
{
    OpenDialog::WndCommand(id);
    if (id == IdHistoryList)
        HistorySelChange();
    else if (id == IdSaveHistory)
        SaveButtonClick();
    if (OnCommandEx)
        OnCommandEx(*this, Window()->TemplateDialog(), Window(), id);
}

void TCabOpenDialog::HistorySelChange()
{
    const int index = HistoryList()->currentIndex();
    if (index < 0 || index >= static_cast<int>(history_.size()))
        return;
    const std::string folder = history_[static_cast<std::size_t>(index)];
    if (!DirExists(folder))
        return;
    Window()->FileNameBox()->setFocus();
    Window()->JumpTo(ToQtPath(folder).value_or(Cp932ToDisplay(folder)));
    history_.erase(history_.begin() + index);
    history_.insert(history_.begin(), folder);
    FillHistoryCombo();
}

void TCabOpenDialog::SaveButtonClick()
{
    const std::string folder = GetCurrentFolder();
    if (!FileExistsQuiet(folder) && !DirExists(folder) && !DirExists(folder + PathDelim))
        return;
    AddToHistory(history_, folder, true);
    FillHistoryCombo();
    SaveButton()->setEnabled(false);
}
