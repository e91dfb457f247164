#include "support/ui/HelpViewer.h"

#include "support/core/ProgramFolder.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QWidget* OutermostWindow(QWidget* widget)
{
    QWidget* window = widget->window();
    while (window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* owner)
    : QWidget(owner, Qt::Window)
    , browser_(new QTextBrowser(this))
    , helpFile_(DefaultHelpFile())
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tessna ヘルプ"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setAccessibleName(QStringLiteral("ヘルプの本文"));
    // Esc closes the viewer, as it closes the program's other windows.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

HelpViewer* HelpViewer::Of(QWidget* owner)
{
    QWidget* outermost = OutermostWindow(owner);
    const auto viewerOf = [](QWidget* window) {
        return window->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    };
    // While a modal dialog runs, a viewer outside it takes no keys and no clicks: help asked
    // for by the dialog opens in a viewer of its own, which closes with the dialog.
    QWidget* host = owner->window()->isModal() ? owner->window() : outermost;
    if (HelpViewer* viewer = viewerOf(host))
        return viewer;
    auto* viewer = new HelpViewer(host);
    if (const HelpViewer* main = host != outermost ? viewerOf(outermost) : nullptr)
        viewer->SetHelpFile(main->HelpFile());
    return viewer;
}

QString HelpViewer::DefaultHelpFile()
{
    return FindHelpFile();
}

void HelpViewer::ShowContents()
{
    if (LoadHelpFile())
        browser_->verticalScrollBar()->setValue(0);
    Present();
}

void HelpViewer::ShowContext(int context)
{
    if (LoadHelpFile())
        browser_->scrollToAnchor(QString::number(context));
    Present();
}

void HelpViewer::Quit()
{
    close();
}

bool HelpViewer::LoadHelpFile()
{
    if (!QFileInfo(helpFile_).isFile()) {
        browser_->setHtml(QStringLiteral("<p>ヘルプファイル %1 が見つかりません。</p>")
                              .arg(helpFile_.toHtmlEscaped()));
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(helpFile_);
    if (browser_->source() != url)
        browser_->setSource(url, QTextDocument::HtmlResource);
    return true;
}

void HelpViewer::Present()
{
    show();
    raise();
    activateWindow();
}
