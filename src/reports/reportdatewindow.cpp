#include "reports/reportdatewindow.h"

#include "data/conversions.h"
#include "reports/reportpreview.h"
#include "widgets/formbuilder.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

ReportDateWindow::ReportDateWindow(QString layoutFile, QString windowTitle, QWidget* parent,
                                   Qt::WindowFlags flags)
    : QWidget(parent, flags), m_layoutFile(std::move(layoutFile)),
      m_windowTitle(std::move(windowTitle))
{
    setWindowTitle(QStringLiteral("Enter Report Dates"));
    WindowConventions::applyIcon(this);

    const FormBuilder build(this);
    Label3 = build.make<QLabel>(QStringLiteral("Label3"),
                                QStringLiteral("Enter the dates you wish to view for this report"));
    Label1 = build.make<QLabel>(QStringLiteral("Label1"), QStringLiteral("Start Date"));
    txtSDate = build.textBox(QStringLiteral("txtSDate"));
    Label2 = build.make<QLabel>(QStringLiteral("Label2"), QStringLiteral("End Date"));
    txtEDate = build.textBox(QStringLiteral("txtEDate"));
    Command1 = build.make<QPushButton>(QStringLiteral("Command1"), QStringLiteral("Get Report"));

    auto* form = new QFormLayout;
    form->addRow(Label1, txtSDate);
    form->addRow(Label2, txtEDate);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addLayout(form);
    layout->addWidget(Command1, 0, Qt::AlignRight);

    InputHelpers::selectOnFocus({txtSDate, txtEDate});
    InputHelpers::upperCaseInput(txtEDate);
    InputHelpers::enterAsTab(txtEDate);
    txtSDate->installEventFilter(this);
    txtEDate->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &ReportDateWindow::Command1_Click);
    adjustSize();
    if (isWindow())
        WindowConventions::centreOnMainWindow(this);
}

bool ReportDateWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == txtSDate)
            txtSDate_LostFocus();
        else if (watched == txtEDate)
            txtEDate_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void ReportDateWindow::checkDateBox(QLineEdit* box)
{
    const QString text = box->text();
    if (text.isEmpty() || conv::isDate(text))
        return;
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9]{6}$"));
    if (sixDigits.match(text).hasMatch())
        box->setText(conv::formatSlashedDate(text));
    else
        prompter().message(QStringLiteral("Please enter a valid date in mm/dd/yy format!"));
}

void ReportDateWindow::txtSDate_LostFocus()
{
    checkDateBox(txtSDate);
}

void ReportDateWindow::txtEDate_LostFocus()
{
    checkDateBox(txtEDate);
}

QString ReportDateWindow::dateRangeFormula(const QString& start, const QString& end)
{
    auto formatted = [](const QString& text) {
        const auto date = conv::parseDate(text);
        return date ? date->toString(QStringLiteral("yyyy,MM,dd")) : text;
    };
    return QStringLiteral("{ARINVOICE.InvDate} in Date(%1) to Date (%2)")
        .arg(formatted(start), formatted(end));
}

void ReportDateWindow::Command1_Click()
{
    if (txtSDate->text().isEmpty()) {
        prompter().message(QStringLiteral("Please enter a start date in the mm/dd/yy format"));
        txtSDate->setFocus();
        return;
    }
    if (txtEDate->text().isEmpty()) {
        prompter().message(QStringLiteral("Please enter a end date in the mm/dd/yy format"));
        txtEDate->setFocus();
        return;
    }
    const Status shown = previewReport(
        {m_layoutFile, dateRangeFormula(txtSDate->text(), txtEDate->text()), m_windowTitle, {}});
    // Its work done, the window makes way for the report; one that could not run keeps the
    // dates for another try.
    if (!shown)
        return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}
