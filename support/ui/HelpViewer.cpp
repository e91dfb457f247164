#include "support/ui/HelpViewer.h"

#include "support/core/ProgramFolder.h"

#include <QFileInfo>
#include <QScrollBar>
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

THelpViewer::THelpViewer(QWidget* owner)
    : QWidget(owner, Qt::Window)
    , browser_(new QTextBrowser(this))
    , helpFile_(DefaultHelpFile())
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tessna ヘルプ"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

THelpViewer* THelpViewer::Of(QWidget* owner)
{
    QWidget* window = OutermostWindow(owner);
    if (auto* viewer = window->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly))
        return viewer;
    return new THelpViewer(window);
}

QString THelpViewer::DefaultHelpFile()
{
    return FindHelpFile();
}

void THelpViewer::ShowContents()
{
    if (LoadHelpFile())
        browser_->verticalScrollBar()->setValue(0);
    Present();
}

void THelpViewer::ShowContext(int context)
{
    if (LoadHelpFile())
        browser_->scrollToAnchor(QString::number(context));
    Present();
}

void THelpViewer::Quit()
{
    close();
}

bool THelpViewer::LoadHelpFile()
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

void THelpViewer::Present()
{
    show();
    raise();
    activateWindow();
}
