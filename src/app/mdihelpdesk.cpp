#include "app/mdihelpdesk.h"

#include "app/about.h"
#include "login/changepass.h"
#include "app/helpviewer.h"
#include "widgets/lockwaitnotice.h"
#include "login/login.h"
#include "app/menuaccess.h"
#include "app/newshop.h"
#include "widgets/prompter.h"
#include "data/session.h"
#include "widgets/windowconventions.h"
#include "data/conversions.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "helpdesk/helpdesk.h"
#include "masterdata/company.h"
#include "masterdata/customer.h"
#include "masterdata/employee.h"
#include "masterdata/hstype.h"
#include "masterdata/inventory.h"
#include "receivables/custhistory.h"
#include "receivables/payment.h"
#include "reports/billingreport.h"
#include "reports/reportmenu.h"
#include "reports/saletax.h"
#include "upkeep/upkeepmenu.h"
#include "tickets/assignment.h"
#include "tickets/openorders.h"

#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

QMenu* addMenu(QWidget* parent, QMenuBar* bar, QMenu* into, const char* name,
               const QString& caption)
{
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (bar)
        bar->addMenu(menu);
    else
        into->addMenu(menu);
    return menu;
}

QAction* addEntry(QWidget* parent, QMenu* into, const char* name, const QString& caption)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    into->addAction(action);
    return action;
}

} // namespace

MDIHelpDesk::MDIHelpDesk(QWidget* parent) : QMainWindow(parent), m_mdi(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIHelpDesk"));
    setWindowTitle(QStringLiteral("Quorvane - www.quorvane.example"));
    WindowConventions::applyIcon(this);
    m_mdi->setBackground(QColor(0x5a, 0x6e, 0x82));
    setCentralWidget(m_mdi);

    // The current employee, on a strip under the menu bar.
    auto* strip = new QToolBar(this);
    strip->setObjectName(QStringLiteral("Picture1Bar"));
    strip->setMovable(false);
    Picture1 = new QWidget(strip);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto* stripLayout = new QHBoxLayout(Picture1);
    stripLayout->setContentsMargins(6, 2, 6, 2);
    stripLayout->addWidget(new QLabel(tr("Employee ID:"), Picture1));
    txtEmpID = new QLineEdit(Picture1);
    txtEmpID->setObjectName(QStringLiteral("txtEmpID"));
    txtEmpID->setReadOnly(true);
    txtEmpID->setFixedWidth(120);
    stripLayout->addWidget(txtEmpID);
    stripLayout->addStretch();
    strip->addWidget(Picture1);
    addToolBar(Qt::TopToolBarArea, strip);

    auto* StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_versionPanel = new QLabel(QStringLiteral("Quorvane Pro v 2.2"), StatusBar1);
    m_datePanel = new QLabel(conv::formatDate(QDate::currentDate()), StatusBar1);
    m_versionPanel->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_datePanel->setObjectName(QStringLiteral("StatusBar1Panel2"));
    StatusBar1->addWidget(m_versionPanel, 1);
    StatusBar1->addPermanentWidget(m_datePanel);
    LockWaitNotice::install(StatusBar1);

    buildMenus();
    connectWindows();
    resize(1024, 768);
}

void MDIHelpDesk::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = addMenu(this, bar, nullptr, "mnuFile", QStringLiteral("&File"));
    addEntry(this, file, "mnubackup", QStringLiteral("Backup Database"));
    addEntry(this, file, "mnucompact", QStringLiteral("Compact Database"));
    file->addSeparator();
    QMenu* tickets = addMenu(this, nullptr, file, "mnutick", QStringLiteral("Delete Ticket"));
    addEntry(this, tickets, "mnudeloneticket", QStringLiteral("Delete One Ticket"));
    addEntry(this, tickets, "mnuDelAllTic", QStringLiteral("Delete All Closed Tickets"));
    file->addSeparator();
    QMenu* invoices = addMenu(this, nullptr, file, "mnudelIn", QStringLiteral("Delete Invoice"));
    addEntry(this, invoices, "mnudelinv", QStringLiteral("Delete One Invoice"));
    addEntry(this, invoices, "mnudelallinv", QStringLiteral("Delete All Closed Invoices"));
    file->addSeparator();
    QMenu* solutions =
        addMenu(this, nullptr, file, "mnuDelSols", QStringLiteral("Delete Solutions"));
    addEntry(this, solutions, "mnuDelOneSol", QStringLiteral("Delete One Solution"));
    addEntry(this, solutions, "mnuDelAllSols", QStringLiteral("Delete All Solutions"));
    file->addSeparator();
    connect(addEntry(this, file, "mnuexit", QStringLiteral("&Exit")), &QAction::triggered, this,
            &MDIHelpDesk::mnuexit_Click);

    QMenu* company = addMenu(this, bar, nullptr, "mnucomp", QStringLiteral("&Company Info"));
    addEntry(this, company, "mnucompInfo", QStringLiteral("&Add/Edit Company"));
    addEntry(this, company, "mnuEmp", QStringLiteral("Add/&Edit Employee"));
    connect(addEntry(this, company, "mnuChgPwd", QStringLiteral("Change Password")),
            &QAction::triggered, this, &MDIHelpDesk::mnuChgPwd_Click);

    QMenu* options = addMenu(this, bar, nullptr, "mnuopt", QStringLiteral("&Options"));
    addEntry(this, options, "mnuaddcust", QStringLiteral("&Add/Edit Customer"));
    addEntry(this, options, "mnuInventory", QStringLiteral("Add/Edit &Inventory"));
    addEntry(this, options, "mnuHStype", QStringLiteral("Add Hardware/Software Type"));
    options->addSeparator();
    addEntry(this, options, "mnuCustHist", QStringLiteral("&Customer History"));
    addEntry(this, options, "mnuCustPay", QStringLiteral("Customer Payment"));
    options->addSeparator();
    addEntry(this, options, "mnuAssign", QStringLiteral("&ReAssign Ticket/Priority"));
    addEntry(this, options, "mnuhdsk", QStringLiteral("&HelpDesk"));
    addEntry(this, options, "mnuOpenOrd", QStringLiteral("&Ticket Log"));

    QMenu* reports = addMenu(this, bar, nullptr, "mnurpt", QStringLiteral("&Reports"));
    QMenu* bill = addMenu(this, nullptr, reports, "mnuBill", QStringLiteral("&Billing Statement"));
    addEntry(this, bill, "mnuBillDate", QStringLiteral("By Date"));
    addEntry(this, bill, "mnuBillfull", QStringLiteral("Full Report"));
    addEntry(this, reports, "mnuCallStat", QStringLiteral("Call Log Statistics"));
    addEntry(this, reports, "mnuEmplst", QStringLiteral("Employee List"));
    addEntry(this, reports, "mnuInvent", QStringLiteral("Inventory List"));
    addEntry(this, reports, "mnuKB", QStringLiteral("Knowledge Base"));
    QMenu* open = addMenu(this, nullptr, reports, "mnuopnticket", QStringLiteral("Open Tickets"));
    addEntry(this, open, "mnuOpnTickTech", QStringLiteral("By Technician"));
    addEntry(this, open, "mnuopentickets", QStringLiteral("Full Report"));
    addEntry(this, reports, "mnuPrtAllInv", QStringLiteral("&Print All Invoices"));
    addEntry(this, reports, "mnuReprint", QStringLiteral("&RePrint Invoice"));
    QMenu* tax = addMenu(this, nullptr, reports, "mnusaltax", QStringLiteral("Sales Tax Report"));
    addEntry(this, tax, "mnusaltaxdate", QStringLiteral("By Date"));
    addEntry(this, tax, "mnusaltaxfull", QStringLiteral("Full"));
    addEntry(this, reports, "mnuwrkorder", QStringLiteral("&Work Order"));

    m_windowMenu = addMenu(this, bar, nullptr, "mnuwind", QStringLiteral("&Windows"));
    addEntry(this, m_windowMenu, "mnulst", QStringLiteral("List"));
    m_windowListStart = m_windowMenu->addSeparator();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MDIHelpDesk::fillWindowList);

    QMenu* help = addMenu(this, bar, nullptr, "mnuHelp", QStringLiteral("&Help"));
    connect(addEntry(this, help, "mnuabout", QStringLiteral("About Quorvane")), &QAction::triggered,
            this, &MDIHelpDesk::mnuabout_Click);
    connect(addEntry(this, help, "mnugethelp", QStringLiteral("Help")), &QAction::triggered, this,
            &MDIHelpDesk::mnugethelp_Click);
}

void MDIHelpDesk::connectWindows()
{
    auto on = [this](const char* name, auto handler) {
        connect(entry(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("mnuhdsk", [this] { showChild<HelpDesk>(); });
    on("mnuaddcust", [this] { showChild<Customer>(); });
    on("mnucompInfo", [this] { showChild<Company>(); });
    on("mnuHStype", [this] { showChild<HSType>(); });
    on("mnuInventory", [this] { showChild<inventory>(); });
    on("mnuEmp", [this] { showChild<Employee>(); });
    on("mnuCustPay", [this] { showChild<Payment>(); });
    on("mnuCustHist", [this] { showChild<CustHistory>(); });
    on("mnuOpenOrd", [this] { showChild<OpenOrders>(); });
    on("mnuAssign", [this] { showChild<Assignment>(); });

    auto* reports = new ReportMenu(this);
    auto onReport = [this, reports](const char* name, void (ReportMenu::*slot)()) {
        connect(entry(QString::fromLatin1(name)), &QAction::triggered, reports, slot);
    };
    onReport("mnuBillDate", &ReportMenu::mnuBillDate_Click);
    onReport("mnuBillfull", &ReportMenu::mnuBillfull_Click);
    onReport("mnuCallStat", &ReportMenu::mnuCallStat_Click);
    onReport("mnuEmplst", &ReportMenu::mnuEmplst_Click);
    onReport("mnuInvent", &ReportMenu::mnuInvent_Click);
    onReport("mnuKB", &ReportMenu::mnuKB_Click);
    onReport("mnuopentickets", &ReportMenu::mnuopentickets_Click);
    onReport("mnuOpnTickTech", &ReportMenu::mnuOpnTickTech_Click);
    onReport("mnuPrtAllInv", &ReportMenu::mnuPrtAllInv_Click);
    onReport("mnuReprint", &ReportMenu::mnuReprint_Click);
    onReport("mnusaltaxfull", &ReportMenu::mnusaltaxfull_Click);
    onReport("mnusaltaxdate", &ReportMenu::mnusaltaxdate_Click);
    onReport("mnuwrkorder", &ReportMenu::mnuwrkorder_Click);
    connect(reports, &ReportMenu::billingReportRequested, this,
            [this] { showChild<BillingReport>(); });
    connect(reports, &ReportMenu::saleTaxRequested, this, [this] { showPopup<SaleTax>(); });

    auto* upkeep = new UpkeepMenu(this);
    auto onUpkeep = [this, upkeep](const char* name, void (UpkeepMenu::*slot)()) {
        connect(entry(QString::fromLatin1(name)), &QAction::triggered, upkeep, slot);
    };
    onUpkeep("mnubackup", &UpkeepMenu::mnubackup_Click);
    onUpkeep("mnucompact", &UpkeepMenu::mnucompact_Click);
    onUpkeep("mnudeloneticket", &UpkeepMenu::mnudeloneticket_Click);
    onUpkeep("mnuDelAllTic", &UpkeepMenu::mnuDelAllTic_Click);
    onUpkeep("mnudelinv", &UpkeepMenu::mnudelinv_Click);
    onUpkeep("mnudelallinv", &UpkeepMenu::mnudelallinv_Click);
    onUpkeep("mnuDelOneSol", &UpkeepMenu::mnuDelOneSol_Click);
    onUpkeep("mnuDelAllSols", &UpkeepMenu::mnuDelAllSols_Click);
}

QAction* MDIHelpDesk::entry(const QString& name) const
{
    return findChild<QAction*>(name);
}

void MDIHelpDesk::lockMenus()
{
    for (const QString& name : MenuAccess::topMenus())
        entry(name)->setEnabled(false);
}

void MDIHelpDesk::start()
{
    lockMenus();
    const Status shop =
        DatabaseSetup::checkShop(ProgramFolder::filePath(QString::fromLatin1(Database::FileName)));
    if (shop.isNotFound()) {
        connect(showChild<NewShop>(), &NewShop::shopCreated, this, &MDIHelpDesk::startLogin);
        centreActiveChild();
        return;
    }
    if (!shop) {
        prompter().message(shop.message(), Prompter::defaultTitle(), Prompter::Icon::Critical);
        return;
    }
    // A file from an earlier release gets the steps it has not had yet before anyone works on it.
    Database db;
    if (const Status upgraded = Schema::upgrade(db); !upgraded)
        prompter().message(QStringLiteral("The database could not be brought up to date: %1")
                               .arg(upgraded.message()));
    startLogin();
}

Login* MDIHelpDesk::startLogin()
{
    lockMenus();
    auto* login = new Login;
    connect(login, &Login::loggedIn, this, &MDIHelpDesk::loggedIn);
    if (!login->databaseReachable()) {
        delete login;
        return nullptr;
    }
    addChild(login);
    centreActiveChild();
    return login;
}

void MDIHelpDesk::centreActiveChild()
{
    if (QMdiSubWindow* sub = m_mdi->activeSubWindow()) {
        const QRect area = m_mdi->viewport()->rect();
        sub->move(area.width() / 2 - sub->width() / 2, area.height() / 2 - sub->height() / 2);
    }
}

void MDIHelpDesk::loggedIn(const QString& empId, const std::optional<QList<bool>>& rights)
{
    MenuAccess::apply(rights, [this](const QString& name) { return entry(name); });
    txtEmpID->setText(empId);
    Session::setCurrentEmployeeId(empId);
}

void MDIHelpDesk::addChild(QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = m_mdi->addSubWindow(window);
    sub->setWindowIcon(WindowConventions::applicationIcon());
    // A window that unloads itself takes its frame with it. When the frame itself is being
    // destroyed it is no longer a QMdiSubWindow by then, and the cast finds nothing to close.
    QPointer<QObject> frame(sub);
    connect(window, &QObject::destroyed, this, [frame] {
        if (auto* closing = qobject_cast<QMdiSubWindow*>(frame.data()))
            closing->close();
    });
    sub->resize(window->size().expandedTo(window->minimumSizeHint()) +
                (sub->size() - sub->contentsRect().size()));
    window->show();
    sub->show();
    m_mdi->setActiveSubWindow(sub);
}

void MDIHelpDesk::addPopup(QWidget* window)
{
    window->setParent(this, window->windowFlags() | Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    WindowConventions::applyIcon(window);
    m_popups.removeAll(nullptr);
    m_popups.append(window);
    window->adjustSize();
    WindowConventions::centreOnMainWindow(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void MDIHelpDesk::fillWindowList()
{
    const QList<QAction*> actions = m_windowMenu->actions();
    for (qsizetype i = actions.indexOf(m_windowListStart) + 1; i < actions.size(); ++i) {
        m_windowMenu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    m_windowListStart->setVisible(!windows.isEmpty());
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        QAction* item =
            m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        item->setCheckable(true);
        item->setChecked(sub == m_mdi->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, frame = QPointer<QMdiSubWindow>(sub)] {
            if (frame) {
                frame->showNormal();
                m_mdi->setActiveSubWindow(frame);
            }
        });
    }
}

void MDIHelpDesk::mnuexit_Click()
{
    close();
}

void MDIHelpDesk::mnuChgPwd_Click()
{
    showChild<ChangePass>();
}

void MDIHelpDesk::mnuabout_Click()
{
    showPopup<About>();
}

void MDIHelpDesk::mnugethelp_Click()
{
    auto* viewer = showPopup<HelpViewer>();
    viewer->showMaximized();
}

void MDIHelpDesk::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    for (const QPointer<QWidget>& popup : m_popups)
        if (popup)
            popup->close();
    event->accept();
}
