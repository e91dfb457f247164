#include "chooser/DialogTemplates.h"

#include "chooser/OpenDialogWindow.h"
#include "support/ui/UIFonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

struct TemplateShape {
    const char* name;
    const char* font;
    bool confirm;
    bool subPath;
};

constexpr TemplateShape Templates[] = {
    {"CABINET_OPEN_DIALOG", UIGothicFamily, false, false},
    {"CABINET_OPEN_DIALOG2", PGothicFamily, false, false},
    {"CABINET_OPEN_DIALOGEX", UIGothicFamily, true, false},
    {"CABINET_OPEN_DIALOGEX2", PGothicFamily, true, false},
    {"CABINET_SEARCH_OPEN_DIALOGEX", UIGothicFamily, true, true},
    {"CABINET_SEARCH_OPEN_DIALOGEX2", PGothicFamily, true, true},
};

// The template's 9-point face (12 pixels at 96 dots per inch) when it is installed, else
// the system's user-interface font.
QFont TemplateFont(const char* face)
{
    return DesignFont(QString::fromUtf8(face), 12);
}

template <typename Control>
Control* AddControl(OpenDialogWindow& dialog, Control* control, const char* name, int id,
                    const QFont& font)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setFont(font);
    dialog.AddTemplateControl(control, id);
    return control;
}

QPushButton* NewButton(const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

void BuildDialogTemplate(OpenDialogWindow& dialog, const std::string& name)
{
    const auto shape = std::find_if(std::begin(Templates), std::end(Templates),
                                    [&](const TemplateShape& t) { return name == t.name; });
    if (shape == std::end(Templates))
        return;
    const QFont font = TemplateFont(shape->font);
    QWidget* parent = dialog.TemplateDialog();
    QGridLayout* grid = dialog.ControlsGrid();
    const int row = dialog.FirstTemplateRow();

    auto* label = new QLabel(QStringLiteral("フォルダの履歴(&H):"), parent);
    label->setObjectName(QStringLiteral("LblHistory"));
    label->setFont(font);
    auto* history = AddControl(dialog, new QComboBox(parent), "CmbHistory", IdHistoryList, font);
    label->setBuddy(history);
    auto* save = AddControl(dialog, NewButton(QStringLiteral("履歴保存(&S)"), parent),
                            "BtnSaveHistory", IdSaveHistory, font);
    grid->addWidget(label, row, 0);
    grid->addWidget(history, row, 1);
    grid->addWidget(save, row, 2);

    if (shape->confirm) {
        auto* confirm = AddControl(dialog, NewButton(QStringLiteral("確定(&E)"), parent),
                                   "BtnConfirm", IdConfirm, font);
        confirm->setMinimumHeight(confirm->sizeHint().height() * 3 / 2);
        grid->addWidget(confirm, row + 1, 2);
    }
    if (shape->subPath) {
        auto* subPath = AddControl(dialog, new QCheckBox(QStringLiteral("サブフォルダも対象とする"), parent),
                                   "ChkSubPath", IdSubPath, font);
        grid->addWidget(subPath, row + 1, 1);
    }
}
