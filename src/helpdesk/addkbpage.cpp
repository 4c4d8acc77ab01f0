#include "helpdesk/addkbpage.h"

#include "helpdesk/counterbox.h"
#include "helpdesk/knowledgebasestore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddKbPage::AddKbPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AddKbPage"));
    const FormBuilder ui(this);
    txtKBaseNum = ui.readOnlyBox(QStringLiteral("txtKBaseNum"));
    txtKQDesc = ui.textBox(QStringLiteral("txtKQDesc"), 50);
    txtKProb = ui.textArea(QStringLiteral("txtKProb"));
    txtKSol = ui.textArea(QStringLiteral("txtKSol"));
    cmdAddKBase = ui.button(QStringLiteral("cmdAddKBase"), tr("Add"));
    cmdClearKBase = ui.button(QStringLiteral("cmdClearKBase"), tr("Clear"));
    InputHelpers::selectOnFocus({txtKQDesc});

    auto* entry = new QGridLayout;
    ui.addLabelled(entry, 0, 0, tr("Knowledge Base #"), txtKBaseNum);
    ui.addLabelled(entry, 1, 0, tr("Quick Description"), txtKQDesc, 2);
    entry->setColumnStretch(2, 1);
    QHBoxLayout* texts = ui.sideBySide(tr("Problem In Detail"), txtKProb, tr("Solution"), txtKSol);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAddKBase);
    buttons->addWidget(cmdClearKBase);

    auto* page = new QVBoxLayout(this);
    page->addLayout(entry);
    page->addLayout(texts, 1);
    page->addLayout(buttons);

    connect(cmdAddKBase, &QPushButton::clicked, this, &AddKbPage::cmdAddKBase_Click);
    connect(cmdClearKBase, &QPushButton::clicked, this, &AddKbPage::cmdClearKBase_Click);
}

void AddKbPage::showNextKnowledgeBaseNumber()
{
    CounterBox::showNext(txtKBaseNum, Counter::KnowledgeBase);
}

QString AddKbPage::missingField() const
{
    if (txtKQDesc->text().isEmpty())
        return tr("Please fill in the Quick Description.");
    if (txtKProb->toPlainText().isEmpty())
        return tr("Please fill in the Problem.");
    if (txtKSol->toPlainText().isEmpty())
        return tr("Please fill in the Solution.");
    return QString();
}

void AddKbPage::cmdAddKBase_Click()
{
    if (const QString missing = missingField(); !missing.isEmpty()) {
        prompter().message(missing);
        return;
    }
    const Result<std::int32_t> added = Hourglass::around([&] {
        return KnowledgeBaseStore::addEntry(CounterBox::shown(txtKBaseNum), txtKQDesc->text(),
                                            txtKProb->toPlainText(), txtKSol->toPlainText());
    });
    if (!added) {
        prompter().message(tr("The entry could not be added to the knowledge base.\n%1")
                               .arg(added.status().message()));
        return;
    }
    CounterBox::showFollowing(txtKBaseNum, *added);
    cmdClearKBase->click();
    txtKQDesc->setFocus();
}

void AddKbPage::cmdClearKBase_Click()
{
    txtKQDesc->clear();
    txtKProb->clear();
    txtKSol->clear();
}
