#include "helpdesk/searchkbpage.h"

#include "helpdesk/knowledgebasestore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/statusnotice.h"
#include "widgets/tabbedlist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

SearchKbPage::SearchKbPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SearchKbPage"));
    const FormBuilder ui(this);
    txtSearchProb = ui.textBox(QStringLiteral("txtSearchProb"), 50);
    cmdGetSearch = ui.button(QStringLiteral("cmdGetSearch"), tr("Search"));
    lstSearchRes = ui.tabbedList(QStringLiteral("lstSearchRes"));
    lstProb = ui.textArea(QStringLiteral("lstProb"), true);
    lstSolution = ui.textArea(QStringLiteral("lstSolution"), true);
    cmdClearSearch = ui.button(QStringLiteral("cmdClearSearch"), tr("Clear"));
    InputHelpers::selectOnFocus({txtSearchProb});

    auto* search = new QHBoxLayout;
    auto* grid = new QGridLayout;
    ui.addLabelled(grid, 0, 0, tr("Search"), txtSearchProb);
    search->addLayout(grid, 1);
    search->addWidget(cmdGetSearch);
    search->addWidget(cmdClearSearch);

    auto* results = new QVBoxLayout;
    ui.addAbove(results, tr("Search Results"), lstSearchRes);
    QHBoxLayout* texts = ui.sideBySide(tr("Problem"), lstProb, tr("Solutions"), lstSolution);

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
    const auto hits =
        Hourglass::around([&] { return KnowledgeBaseStore::search(txtSearchProb->text()); });
    if (!hits) {
        statusNotice().show(StatusNotice::readFailed(tr("The knowledge base"), hits.status()));
        return;
    }
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
    const auto entry = KnowledgeBaseStore::entry(m_resultRows[row]);
    if (!entry) {
        statusNotice().show(
            StatusNotice::readFailed(tr("The knowledge base entry"), entry.status()));
        return;
    }
    lstProb->setPlainText(entry->problem);
    lstSolution->setPlainText(entry->solution);
}

void SearchKbPage::cmdClearSearch_Click()
{
    txtSearchProb->clear();
    clearResults();
}
