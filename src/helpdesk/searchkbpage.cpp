#include "helpdesk/searchkbpage.h"

#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/tabbedlist.h"
#include "helpdesk/helpdeskwidgets.h"
#include "helpdesk/knowledgebasestore.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace HelpDeskWidgets;

SearchKbPage::SearchKbPage(QWidget* parent)
    : QWidget(parent), txtSearchProb(textBox("txtSearchProb", 50)),
      cmdGetSearch(button("cmdGetSearch", tr("Search"))),
      lstSearchRes(named<TabbedList>("lstSearchRes")), lstProb(textArea("lstProb", true)),
      lstSolution(textArea("lstSolution", true)),
      cmdClearSearch(button("cmdClearSearch", tr("Clear")))
{
    setObjectName(QStringLiteral("SearchKbPage"));
    InputHelpers::selectOnFocus({txtSearchProb});

    auto* search = new QHBoxLayout;
    auto* grid = new QGridLayout;
    addLabelled(grid, 0, 0, tr("Search"), txtSearchProb);
    search->addLayout(grid, 1);
    search->addWidget(cmdGetSearch);
    search->addWidget(cmdClearSearch);

    auto* results = new QVBoxLayout;
    addAbove(results, tr("Search Results"), lstSearchRes);
    QHBoxLayout* texts = sideBySide(tr("Problem"), lstProb, tr("Solutions"), lstSolution);

    auto* page = new QVBoxLayout(this);
    page->addLayout(search);
    page->addLayout(results, 1);
    page->addLayout(texts, 2);

    connect(cmdGetSearch, &QPushButton::clicked, this, &SearchKbPage::cmdGetSearch_Click);
    connect(lstSearchRes, &TabbedList::lineClicked, this, &SearchKbPage::lstSearchRes_Click);
    connect(cmdClearSearch, &QPushButton::clicked, this, &SearchKbPage::cmdClearSearch_Click);
}

void SearchKbPage::clearResults()
{
    lstSearchRes->clear();
    m_resultRows.clear();
    lstProb->clear();
    lstSolution->clear();
}

void SearchKbPage::cmdGetSearch_Click()
{
    clearResults();
    Hourglass busy;
    Database db;
    const auto hits = KnowledgeBaseStore::search(db, txtSearchProb->text());
    if (!hits)
        return;
    if (hits->isEmpty()) {
        lstSearchRes->addLine(tr("No record found"));
        return;
    }
    QStringList lines;
    for (const KnowledgeBaseHit& hit : *hits) {
        lines << QString::number(hit.number) + QStringLiteral(" - ") + hit.quickDescription;
        m_resultRows << hit.row;
    }
    lstSearchRes->setLines(lines);
}

void SearchKbPage::lstSearchRes_Click(int row)
{
    if (row < 0 || row >= m_resultRows.size())
        return;
    Database db;
    const auto entry = KnowledgeBaseStore::entry(db, m_resultRows[row]);
    if (!entry)
        return;
    lstProb->setPlainText(entry->problem);
    lstSolution->setPlainText(entry->solution);
}

void SearchKbPage::cmdClearSearch_Click()
{
    txtSearchProb->clear();
    clearResults();
}
