#include "app/helpviewer.h"

#include "data/programfolder.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Quorvane Help"));
    auto* tools = new QToolBar(this);
    tools->addAction(QStringLiteral("Contents"), m_browser, &QTextBrowser::home);
    tools->addAction(QStringLiteral("Back"), m_browser, &QTextBrowser::backward);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(m_browser);
    const QString guide = ProgramFolder::filePath(QStringLiteral("Help/index.html"));
    if (QFileInfo::exists(guide))
        m_browser->setSource(QUrl::fromLocalFile(guide));
    else
        m_browser->setHtml(QStringLiteral("<h1>Quorvane Help</h1><p>The user guide is missing "
                                          "from the program folder (Help/index.html).</p>"));
    resize(900, 700);
}
