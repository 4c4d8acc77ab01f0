#include "app/mdihelpdesk.h"

#include "app/about.h"
#include "app/helpviewer.h"
#include "app/menutable.h"
#include "app/newshop.h"
#include "data/conversions.h"
#include "data/databasesetup.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "data/serversettings.h"
#include "data/session.h"
#include "helpdesk/helpdesk.h"
#include "login/changepass.h"
#include "login/login.h"
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
#include "tickets/assignment.h"
#include "tickets/openorders.h"
#include "upkeep/autobackup.h"
#include "upkeep/keymenu.h"
#include "upkeep/upkeepmenu.h"
#include "widgets/lockwaitnotice.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

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
    m_placePanel = new QLabel(StatusBar1);
    m_placePanel->setObjectName(QStringLiteral("StatusBar1Panel3"));
    showPlace();
    StatusBar1->addWidget(m_versionPanel, 1);
    StatusBar1->addPermanentWidget(m_placePanel);
    StatusBar1->addPermanentWidget(m_datePanel);
    LockWaitNotice::install(StatusBar1);
    m_autoBackup = new AutoBackup(StatusBar1, this);

    m_menus = std::make_unique<MenuTree>(menuBar(), this,
                                         QList<MenuItem>{fileMenu(), companyMenu(), optionsMenu(),
                                                         reportsMenu(), windowsMenu(), helpMenu()});
    resize(1024, 768);
}

MDIHelpDesk::~MDIHelpDesk() = default;

// Each entry's flag is its position in the employee's access row.

MenuItem MDIHelpDesk::fileMenu()
{
    using M = MenuItem;
    const MenuAccess open;
    auto upkeep = [menu = new UpkeepMenu(this)](void (UpkeepMenu::*slot)()) {
        return [menu, slot] { (menu->*slot)(); };
    };
    auto key = [menu = new KeyMenu(this)](void (KeyMenu::*slot)()) {
        return [menu, slot] { (menu->*slot)(); };
    };
    // The shop's key is the administrator's: the right to edit employees gives every other.
    const MenuAccess administrator = MenuAccess::byFlag(9);
    return M::menu(
        "mnuFile", QStringLiteral("&File"), MenuAccess::afterLogin(),
        {M::entry("mnubackup", QStringLiteral("Backup Database"), MenuAccess::byFlag(0),
                  upkeep(&UpkeepMenu::mnubackup_Click)),
         M::entry("mnucompact", QStringLiteral("Compact Database"), MenuAccess::byFlag(1),
                  upkeep(&UpkeepMenu::mnucompact_Click)),
         M::entry("mnurestore", QStringLiteral("Restore Database"), MenuAccess::byFlag(0),
                  upkeep(&UpkeepMenu::mnurestore_Click)),
         M::separator(),
         M::entry("mnuOwnKey", QStringLiteral("Protect with the Shop's Own Key"), administrator,
                  key(&KeyMenu::mnuOwnKey_Click)),
         M::entry("mnuSaveKey", QStringLiteral("Save the Shop's Key to a File..."), administrator,
                  key(&KeyMenu::mnuSaveKey_Click)),
         M::entry("mnuKeySheet", QStringLiteral("Print the Key's Recovery Sheet"), administrator,
                  key(&KeyMenu::mnuKeySheet_Click)),
         M::separator(),
         M::menu("mnutick", QStringLiteral("Delete Ticket"), open,
                 {M::entry("mnudeloneticket", QStringLiteral("Delete One Ticket"),
                           MenuAccess::byFlag(2), upkeep(&UpkeepMenu::mnudeloneticket_Click)),
                  M::entry("mnuDelAllTic", QStringLiteral("Delete All Closed Tickets"),
                           MenuAccess::byFlag(3), upkeep(&UpkeepMenu::mnuDelAllTic_Click))}),
         M::separator(),
         M::menu("mnudelIn", QStringLiteral("Delete Invoice"), open,
                 {M::entry("mnudelinv", QStringLiteral("Delete One Invoice"), MenuAccess::byFlag(4),
                           upkeep(&UpkeepMenu::mnudelinv_Click)),
                  M::entry("mnudelallinv", QStringLiteral("Delete All Closed Invoices"),
                           MenuAccess::byFlag(5), upkeep(&UpkeepMenu::mnudelallinv_Click))}),
         M::separator(),
         M::menu("mnuDelSols", QStringLiteral("Delete Solutions"), open,
                 {M::entry("mnuDelOneSol", QStringLiteral("Delete One Solution"),
                           MenuAccess::byFlag(6), upkeep(&UpkeepMenu::mnuDelOneSol_Click)),
                  M::entry("mnuDelAllSols", QStringLiteral("Delete All Solutions"),
                           MenuAccess::byFlag(7), upkeep(&UpkeepMenu::mnuDelAllSols_Click))}),
         M::separator(),
         M::entry("mnuexit", QStringLiteral("&Exit"), MenuAccess::afterLogin(),
                  [this] { mnuexit_Click(); })},
        [this](QMenu* menu) {
            connect(menu, &QMenu::aboutToShow, this, [menu] { KeyMenu::showEntriesIn(menu); });
        });
}

MenuItem MDIHelpDesk::companyMenu()
{
    using M = MenuItem;
    return M::menu("mnucomp", QStringLiteral("&Company Info"), MenuAccess::afterLogin(),
                   {M::entry("mnucompInfo", QStringLiteral("&Add/Edit Company"),
                             MenuAccess::byFlag(8), [this] { showChild<Company>(); }),
                    M::entry("mnuEmp", QStringLiteral("Add/&Edit Employee"), MenuAccess::byFlag(9),
                             [this] { showChild<Employee>(); }),
                    M::entry("mnuChgPwd", QStringLiteral("Change Password"),
                             MenuAccess::afterLogin(), [this] { mnuChgPwd_Click(); })});
}

MenuItem MDIHelpDesk::optionsMenu()
{
    using M = MenuItem;
    return M::menu("mnuopt", QStringLiteral("&Options"), MenuAccess::afterLogin(),
                   {M::entry("mnuaddcust", QStringLiteral("&Add/Edit Customer"),
                             MenuAccess::byFlag(10), [this] { showChild<Customer>(); }),
                    M::entry("mnuInventory", QStringLiteral("Add/Edit &Inventory"),
                             MenuAccess::byFlag(11), [this] { showChild<inventory>(); }),
                    M::entry("mnuHStype", QStringLiteral("Add Hardware/Software Type"),
                             MenuAccess::byFlag(12), [this] { showChild<HSType>(); }),
                    M::separator(),
                    M::entry("mnuCustHist", QStringLiteral("&Customer History"),
                             MenuAccess::byFlag(13), [this] { showChild<CustHistory>(); }),
                    M::entry("mnuCustPay", QStringLiteral("Customer Payment"),
                             MenuAccess::byFlag(14), [this] { showChild<Payment>(); }),
                    M::separator(),
                    M::entry("mnuAssign", QStringLiteral("&ReAssign Ticket/Priority"),
                             MenuAccess::byFlag(15), [this] { showChild<Assignment>(); }),
                    M::entry("mnuhdsk", QStringLiteral("&HelpDesk"), MenuAccess::byFlag(16),
                             [this] { showChild<HelpDesk>(); }),
                    M::entry("mnuOpenOrd", QStringLiteral("&Ticket Log"), MenuAccess::byFlag(17),
                             [this] { showChild<OpenOrders>(); })});
}

MenuItem MDIHelpDesk::reportsMenu()
{
    using M = MenuItem;
    const MenuAccess open;
    auto* menu = new ReportMenu(this);
    connect(menu, &ReportMenu::billingReportRequested, this,
            [this] { showChild<BillingReport>(); });
    connect(menu, &ReportMenu::saleTaxRequested, this, [this] { showPopup<SaleTax>(); });
    auto run = [menu](void (ReportMenu::*slot)()) { return [menu, slot] { (menu->*slot)(); }; };
    // Flag 19 guards the open ticket reports with the call statistics, flag 24 the sales tax
    // report with the reprint.
    return M::menu(
        "mnurpt", QStringLiteral("&Reports"), MenuAccess::afterLogin(),
        {M::menu("mnuBill", QStringLiteral("&Billing Statement"), MenuAccess::byFlag(18),
                 {M::entry("mnuBillDate", QStringLiteral("By Date"), open,
                           run(&ReportMenu::mnuBillDate_Click)),
                  M::entry("mnuBillfull", QStringLiteral("Full Report"), open,
                           run(&ReportMenu::mnuBillfull_Click))}),
         M::entry("mnuCallStat", QStringLiteral("Call Log Statistics"), MenuAccess::byFlag(19),
                  run(&ReportMenu::mnuCallStat_Click)),
         M::entry("mnuEmplst", QStringLiteral("Employee List"), MenuAccess::byFlag(20),
                  run(&ReportMenu::mnuEmplst_Click)),
         M::entry("mnuInvent", QStringLiteral("Inventory List"), MenuAccess::byFlag(21),
                  run(&ReportMenu::mnuInvent_Click)),
         M::entry("mnuKB", QStringLiteral("Knowledge Base"), MenuAccess::byFlag(22),
                  run(&ReportMenu::mnuKB_Click)),
         M::menu("mnuopnticket", QStringLiteral("Open Tickets"), MenuAccess::byFlag(19),
                 {M::entry("mnuOpnTickTech", QStringLiteral("By Technician"),
                           MenuAccess::byFlag(19), run(&ReportMenu::mnuOpnTickTech_Click)),
                  M::entry("mnuopentickets", QStringLiteral("Full Report"), MenuAccess::byFlag(19),
                           run(&ReportMenu::mnuopentickets_Click))}),
         M::entry("mnuPrtAllInv", QStringLiteral("&Print All Invoices"), MenuAccess::byFlag(23),
                  run(&ReportMenu::mnuPrtAllInv_Click)),
         M::entry("mnuReprint", QStringLiteral("&RePrint Invoice"), MenuAccess::byFlag(24),
                  run(&ReportMenu::mnuReprint_Click)),
         M::menu("mnusaltax", QStringLiteral("Sales Tax Report"), MenuAccess::afterLogin(),
                 {M::entry("mnusaltaxdate", QStringLiteral("By Date"), MenuAccess::byFlag(24),
                           run(&ReportMenu::mnusaltaxdate_Click)),
                  M::entry("mnusaltaxfull", QStringLiteral("Full"), MenuAccess::byFlag(24),
                           run(&ReportMenu::mnusaltaxfull_Click))}),
         M::entry("mnuwrkorder", QStringLiteral("&Work Order"), open,
                  run(&ReportMenu::mnuwrkorder_Click))});
}

MenuItem MDIHelpDesk::windowsMenu()
{
    // "List" heads the list of open windows that follows it; choosing it does nothing more.
    return MenuItem::menu("mnuwind", QStringLiteral("&Windows"), MenuAccess::afterLogin(),
                          {MenuItem::entry("mnulst", QStringLiteral("List"), MenuAccess(), [] {})},
                          [this](QMenu* menu) {
                              m_windowMenu = menu;
                              m_windowListStart = menu->addSeparator();
                              connect(menu, &QMenu::aboutToShow, this,
                                      &MDIHelpDesk::fillWindowList);
                          });
}

MenuItem MDIHelpDesk::helpMenu()
{
    using M = MenuItem;
    return M::menu("mnuHelp", QStringLiteral("&Help"), MenuAccess::afterLogin(),
                   {M::entry("mnuabout", QStringLiteral("About Quorvane"), MenuAccess(),
                             [this] { mnuabout_Click(); }),
                    M::entry("mnugethelp", QStringLiteral("Help"), MenuAccess(),
                             [this] { mnugethelp_Click(); })});
}

QStringList MDIHelpDesk::entriesGuardedBy(int position) const
{
    return m_menus->guardedBy(position);
}

QAction* MDIHelpDesk::entry(const QString& name) const
{
    return findChild<QAction*>(name);
}

void MDIHelpDesk::lockMenus()
{
    m_menus->lock();
}

void MDIHelpDesk::showPlace()
{
    const QString server = ServerSettings::address();
    m_placePanel->setText(server.isEmpty() ? tr("Shop file") : ServerSettings::describe(server));
}

void MDIHelpDesk::start()
{
    lockMenus();
    showPlace();
    const QString server = ServerSettings::address();
    if (ServerSettings::isPlainRemote(server))
        prompter().message(
            tr("The connection to the database server is not encrypted: passwords and the "
               "shop's data cross the network where others can read them. Set "
               "sslmode=verify-full in the server address in quorvane.ini (the server then needs "
               "a certificate)."),
            Prompter::defaultTitle(), Prompter::Icon::Warning);
    // A shop on a server is made there by its administrator, never by the first start here.
    const Status shop =
        server.isEmpty()
            ? DatabaseSetup::checkShop(
                  ProgramFolder::filePath(QString::fromLatin1(Database::FileName)))
            : Database::read([&](Database& db) {
                  return Schema::versionOf(db) > 0
                             ? Status::ok()
                             : Status::failed(tr("The database %1 holds no shop.")
                                                  .arg(ServerSettings::describe(server)));
              });
    if (shop.isNotFound() && server.isEmpty()) {
        auto* newShop = showChild<NewShop>();
        connect(newShop, &NewShop::shopCreated, m_autoBackup, &AutoBackup::start);
        connect(newShop, &NewShop::shopCreated, this, &MDIHelpDesk::startLogin);
        centreActiveChild();
        return;
    }
    if (!shop) {
        prompter().message(shop.message(), Prompter::defaultTitle(), Prompter::Icon::Critical);
        return;
    }
    // A server is named by what its session reported, now that one has opened.
    showPlace();
    // A file from an earlier release gets the steps it has not had yet before anyone works on it.
    if (const Status upgraded = Database::read([](Database& db) { return Schema::upgrade(db); });
        !upgraded)
        prompter().message(QStringLiteral("The database could not be brought up to date: %1")
                               .arg(upgraded.message()));
    m_autoBackup->start();
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
    m_menus->applyRights(rights);
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
    keepInView(sub);
    m_mdi->setActiveSubWindow(sub);
}

void MDIHelpDesk::keepInView(QMdiSubWindow* sub) const
{
    // Larger than the area, a window would open with its buttons out of reach: it takes the
    // area's size, down to what it needs at least, and is moved to lie inside the area.
    const QRect area = m_mdi->viewport()->rect();
    if (area.width() < 200 || area.height() < 150)
        return; // not laid out yet
    sub->resize(sub->size().boundedTo(area.size()).expandedTo(sub->minimumSizeHint()));
    const QRect frame = sub->geometry();
    sub->move(std::clamp(frame.left(), 0, std::max(0, area.width() - frame.width())),
              std::clamp(frame.top(), 0, std::max(0, area.height() - frame.height())));
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
