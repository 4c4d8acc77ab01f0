#include "masterdata/company.h"

#include "data/conversions.h"
#include "masterdata/companystore.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/windowconventions.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int StateBox = 3;
constexpr int RequiredBoxes = 6;
constexpr std::array<int, 9> BoxLimits{30, 30, 20, 2, 10, 15, 15, 50, 50};

} // namespace

Company::Company(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Company"));
    setWindowTitle(QStringLiteral("Setup Company"));
    WindowConventions::applyIcon(this);
    resize(WindowConventions::TaskWindowSize);
    buildControls();

    m_postDate = QDate::currentDate();
    txtPostDate->setText(conv::formatDate(m_postDate));
    const auto stored = Hourglass::around([] { return CompanyStore::load(); });
    if (!stored)
        statusNotice().show(
            StatusNotice::readFailed(QStringLiteral("The company record"), stored.status()));
    const bool exists = stored && stored->has_value();
    if (exists) {
        for (std::size_t i = 0; i < Text1.size(); ++i)
            Text1[i]->setText((**stored)[i]);
    }
    showAddState(!exists);
}

void Company::buildControls()
{
    const FormBuilder form(this);
    Toolbar1 = form.toolbar(QStringLiteral("Toolbar1"));
    m_add = FormBuilder::toolButton(Toolbar1, QStringLiteral("Add"), QStringLiteral("Add"),
                                    QStringLiteral("Add Company"), QStyle::SP_FileDialogNewFolder);
    m_edit = FormBuilder::toolButton(Toolbar1, QStringLiteral("Edit"), QStringLiteral("Edit"),
                                     QStringLiteral("Edit"), QStyle::SP_FileDialogDetailedView);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &Company::Toolbar1_ButtonClick);

    for (std::size_t i = 0; i < Text1.size(); ++i) {
        Text1[i] = form.textBox(QStringLiteral("Text1_%1").arg(i), BoxLimits[i]);
        InputHelpers::selectOnFocus({Text1[i]});
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!now || !isAncestorOf(now))
            return;
        const auto left = std::find(Text1.begin(), Text1.end(), old);
        if (left != Text1.end())
            Text1_LostFocus(int(left - Text1.begin()));
    });
    txtPostDate = form.readOnlyBox(QStringLiteral("txtPostDate"));
    txtPostDate->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addLayout(layoutFields(form));
}

QGridLayout* Company::layoutFields(const FormBuilder& form)
{
    auto* grid = new QGridLayout;
    form.addLabelled(grid, 0, 0, QStringLiteral("Name"), Text1[0], 3);
    form.addLabelled(grid, 1, 0, QStringLiteral("Address"), Text1[1], 3);
    form.addLabelled(grid, 2, 0, QStringLiteral("City, State, Zip"), Text1[2]);
    grid->addWidget(Text1[3], 2, 2, Qt::AlignLeft);
    Text1[3]->setMaximumWidth(Text1[3]->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    grid->addWidget(Text1[4], 2, 3);
    form.addLabelled(grid, 3, 0, QStringLiteral("Phone, Fax"), Text1[5]);
    grid->addWidget(Text1[6], 3, 2, 1, 2);
    form.addLabelled(grid, 4, 0, QStringLiteral("Email, Website"), Text1[7]);
    grid->addWidget(Text1[8], 4, 2, 1, 2);
    form.addLabelled(grid, 5, 0, QStringLiteral("Post Date"), txtPostDate);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(6, 1);
    return grid;
}

void Company::Text1_LostFocus(int)
{
    Text1[StateBox]->setText(Text1[StateBox]->text().toUpper());
}

void Company::showAddState(bool add)
{
    m_add->setVisible(add);
    m_edit->setVisible(!add);
}

void Company::Toolbar1_ButtonClick(QAction* button)
{
    for (int i = 0; i < RequiredBoxes; ++i) {
        if (Text1[i]->text().isEmpty()) {
            prompter().message(QStringLiteral(
                "Company Name, Address, City, State, Zip and Phone must be filled in!"));
            return;
        }
    }
    CompanyFields fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = Text1[i]->text();

    const bool adding = button == m_add;
    const Status status = Hourglass::around([&] {
        return adding ? CompanyStore::add(fields, m_postDate) : CompanyStore::update(fields);
    });
    if (!status) {
        prompter().message(status.message());
        return;
    }
    if (adding) {
        prompter().message(QStringLiteral("Company information has been added to the Database."));
        showAddState(false);
    } else {
        prompter().message(QStringLiteral("Company Information has been updated."));
    }
}
