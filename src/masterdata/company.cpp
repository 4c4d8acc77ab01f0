#include "masterdata/company.h"

#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"
#include "data/conversions.h"
#include "masterdata/companystore.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
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
    Hourglass busy;
    Database db;
    const auto stored = CompanyStore::load(db);
    const bool exists = stored && stored->has_value();
    if (exists) {
        for (std::size_t i = 0; i < Text1.size(); ++i)
            Text1[i]->setText((**stored)[i]);
    }
    showAddState(!exists);
}

void Company::buildControls()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_add = Toolbar1->addAction(style()->standardIcon(QStyle::SP_FileDialogNewFolder),
                                QStringLiteral("Add"));
    m_add->setObjectName(QStringLiteral("Add"));
    m_add->setToolTip(QStringLiteral("Add Company"));
    m_edit = Toolbar1->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                 QStringLiteral("Edit"));
    m_edit->setObjectName(QStringLiteral("Edit"));
    m_edit->setToolTip(QStringLiteral("Edit"));
    connect(Toolbar1, &QToolBar::actionTriggered, this, &Company::Toolbar1_ButtonClick);

    for (std::size_t i = 0; i < Text1.size(); ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setMaxLength(BoxLimits[i]);
        InputHelpers::selectOnFocus({Text1[i]});
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!now || !isAncestorOf(now))
            return;
        const auto left = std::find(Text1.begin(), Text1.end(), old);
        if (left != Text1.end())
            Text1_LostFocus(int(left - Text1.begin()));
    });
    txtPostDate = new QLineEdit(this);
    txtPostDate->setObjectName(QStringLiteral("txtPostDate"));
    txtPostDate->setReadOnly(true);
    txtPostDate->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout;
    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    grid->addWidget(label("Name"), 0, 0);
    grid->addWidget(Text1[0], 0, 1, 1, 3);
    grid->addWidget(label("Address"), 1, 0);
    grid->addWidget(Text1[1], 1, 1, 1, 3);
    grid->addWidget(label("City, State, Zip"), 2, 0);
    grid->addWidget(Text1[2], 2, 1);
    grid->addWidget(Text1[3], 2, 2, Qt::AlignLeft);
    Text1[3]->setMaximumWidth(Text1[3]->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
    grid->addWidget(Text1[4], 2, 3);
    grid->addWidget(label("Phone, Fax"), 3, 0);
    grid->addWidget(Text1[5], 3, 1);
    grid->addWidget(Text1[6], 3, 2, 1, 2);
    grid->addWidget(label("Email, Website"), 4, 0);
    grid->addWidget(Text1[7], 4, 1);
    grid->addWidget(Text1[8], 4, 2, 1, 2);
    grid->addWidget(label("Post Date"), 5, 0);
    grid->addWidget(txtPostDate, 5, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(6, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addLayout(grid);
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
    const Status status = [&] {
        Hourglass busy;
        Database db;
        return adding ? CompanyStore::add(db, fields, m_postDate)
                      : CompanyStore::update(db, fields);
    }();
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
