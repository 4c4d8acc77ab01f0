#include "masterdata/inventory.h"

#include "data/conversions.h"
#include "masterdata/inventorystore.h"
#include "widgets/changedrecord.h"
#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/statusnotice.h"
#include "widgets/windowconventions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString zeroRate()
{
    return conv::formatAmount(0.0);
}

// Refills a searchable combo without losing what the user sees in it, so that choosing an
// entry by typing can go on typing.
void refillKeepingEdit(QComboBox* combo, const QStringList& lines)
{
    QLineEdit* edit = combo->lineEdit();
    const QString text = edit->text();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = static_cast<int>(edit->selectedText().size());
    const int cursor = edit->cursorPosition();
    combo->clear();
    combo->addItems(lines);
    combo->setCurrentIndex(static_cast<int>(lines.indexOf(text)));
    combo->setEditText(text);
    if (selectionStart >= 0)
        edit->setSelection(selectionStart + selectionLength, -selectionLength);
    else
        edit->setCursorPosition(cursor);
}

} // namespace

inventory::inventory(QWidget* parent) : QWidget(parent)
{
    Hourglass busy;
    setObjectName(QStringLiteral("inventory"));
    setWindowTitle(QStringLiteral("Inventory Items"));
    WindowConventions::applyIcon(this);
    buildControls();
    resize(WindowConventions::TaskWindowSize);
    txtPostDate->setText(conv::formatDate(QDate::currentDate()));
    txtTaxRate->setText(zeroRate());
    FillTypeList();
    FillItemList();
    InputHelpers::setComboDropWidth(combItemID);
}

void inventory::buildControls()
{
    const FormBuilder form(this);
    Toolbar1 = form.toolbar(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_addButton =
        FormBuilder::toolButton(Toolbar1, QStringLiteral("Add"), QStringLiteral("Add"),
                                QStringLiteral("Add inventory Itmes"), QStyle::SP_DialogSaveButton);
    FormBuilder::toolButton(Toolbar1, QStringLiteral("Clear"), QStringLiteral("Clear"),
                            QStringLiteral("Clear From"), QStyle::SP_DialogResetButton);
    m_editButton = FormBuilder::toolButton(Toolbar1, QStringLiteral("Edit"), QStringLiteral("Edit"),
                                           QStringLiteral("Edit inventory record"),
                                           QStyle::SP_FileDialogDetailedView);
    m_editButton->setVisible(false);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &inventory::Toolbar1_ButtonClick);

    combItemID = form.searchCombo(QStringLiteral("combItemID"));
    combItemID->setMinimumContentsLength(30);
    connect(combItemID, &QComboBox::activated, this, &inventory::combItemID_Click);
    m_itemList = ListRead::install(
        combItemID, QStringLiteral("The part list"), &InventoryStore::itemLines,
        [this](const QStringList& lines) { refillKeepingEdit(combItemID, lines); });
    txtPostDate = form.readOnlyBox(QStringLiteral("txtPostDate"));
    txtPostDate->setAlignment(Qt::AlignCenter);
    txtPostDate->setMaximumWidth(100);

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(form.label(QStringLiteral("Edit Item")));
    chooser->addWidget(combItemID, 1);
    chooser->addSpacing(24);
    chooser->addWidget(form.label(QStringLiteral("Post Date")));
    chooser->addWidget(txtPostDate);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addLayout(chooser);
    layout->addWidget(buildPartFrame(form));
    layout->addStretch();
}

QGroupBox* inventory::buildPartFrame(const FormBuilder& form)
{
    const int limits[] = {15, 50, 0};
    for (int i = 0; i < 3; ++i) {
        Text1[i] = form.textBox(QStringLiteral("Text1_%1").arg(i), limits[i]);
        Text1[i]->installEventFilter(this);
    }
    Text1[0]->setMaximumWidth(200);
    Text1[2]->setAlignment(Qt::AlignRight);
    Text1[2]->setMaximumWidth(120);
    combItemType = form.searchCombo(QStringLiteral("combItemType"));
    combItemType->setMinimumContentsLength(20);
    combItemType->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_typeList = ListRead::install(combItemType, QStringLiteral("The part type list"),
                                   &InventoryStore::partTypes, [this](const QStringList& types) {
                                       combItemType->clear();
                                       combItemType->addItems(types);
                                       combItemType->setCurrentIndex(-1);
                                   });
    chkTaxable = form.checkBox(QStringLiteral("chkTaxable"), QStringLiteral("Taxable"));
    txtTaxRate = form.textBox(QStringLiteral("txtTaxRate"));
    txtTaxRate->setAlignment(Qt::AlignRight);
    txtTaxRate->setMaximumWidth(120);
    chkInactive = form.checkBox(QStringLiteral("chkInactive"), QStringLiteral("Inactive"));
    chkRemove = form.checkBox(QStringLiteral("chkRemove"), QStringLiteral("Remove"));
    InputHelpers::selectOnFocus({Text1[0], Text1[1], Text1[2], txtTaxRate});

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Part #"), Text1[0]);
    fields->addRow(QStringLiteral("Description"), Text1[1]);
    fields->addRow(QStringLiteral("Sale Price 1"), Text1[2]);
    fields->addRow(QStringLiteral("Part Type"), combItemType);
    fields->addRow(QString(), chkTaxable);
    fields->addRow(QStringLiteral("Tax Rate"), txtTaxRate);
    auto* flags = new QHBoxLayout;
    flags->addWidget(chkInactive);
    flags->addWidget(chkRemove);
    flags->addStretch();
    fields->addRow(QString(), flags);
    QGroupBox* frame = form.frame(QStringLiteral("Enter Inventory Items"), fields);
    frame->setObjectName(QStringLiteral("Frame1"));
    return frame;
}

bool inventory::eventFilter(QObject* watched, QEvent* event)
{
    // A box is left when the focus goes to another control, not when a message box or another
    // program takes it for a while.
    const auto reason = event->type() == QEvent::FocusOut
                            ? static_cast<QFocusEvent*>(event)->reason()
                            : Qt::ActiveWindowFocusReason;
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        for (int i = 0; i < 3; ++i) {
            if (watched == Text1[i])
                Text1_LostFocus(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void inventory::Text1_LostFocus(int index)
{
    if (index == 2 && !conv::isNumeric(Text1[2]->text()))
        Text1[2]->setText(conv::formatAmount(0.0));
}

void inventory::FillItemList()
{
    m_itemList->refresh();
}

void inventory::FillTypeList()
{
    m_typeList->refresh();
}

void inventory::showNewPartState(bool newPart)
{
    m_addButton->setVisible(newPart);
    m_editButton->setVisible(!newPart);
}

void inventory::combItemID_Click()
{
    showNewPartState(false);
    const int index = combItemID->currentIndex();
    const QString line = index >= 0 ? combItemID->itemText(index) : combItemID->currentText();
    m_currentItemNo = line.section(QLatin1Char(' '), 0, 0);
    FillItemList();
    LoadItem();
}

void inventory::LoadItem()
{
    const auto item = Hourglass::around([this] { return InventoryStore::load(m_currentItemNo); });
    if (!item) {
        // Boxes of the part shown before must not be saved under this one's number.
        ClearItem();
        statusNotice().show(StatusNotice::readFailed(QStringLiteral("Part %1").arg(m_currentItemNo),
                                                     item.status()));
        return;
    }
    m_loaded = item->loaded;
    Text1[0]->setText(item->itemNo);
    Text1[1]->setText(item->description);
    Text1[2]->setText(item->price.toPlainString());
    chkTaxable->setChecked(item->taxable);
    txtTaxRate->setText(QString::number(item->taxRate));
    combItemType->setEditText(item->itemType);
    chkInactive->setChecked(item->inactive);
}

void inventory::ClearItem()
{
    for (QLineEdit* box : Text1)
        box->clear();
    txtTaxRate->setText(zeroRate());
    chkInactive->setChecked(false);
    chkTaxable->setChecked(false);
    combItemType->setCurrentIndex(-1);
    combItemType->setEditText(QString());
    combItemID->setCurrentIndex(-1);
    combItemID->setEditText(QString());
    m_loaded = {};
    showNewPartState(true);
    FillItemList();
}

bool inventory::requiredBoxesFilled()
{
    const std::array<QString, 3> missing = {QStringLiteral("Please enter a Part Number!"),
                                            QStringLiteral("Please enter a Description!"),
                                            QStringLiteral("Please enter a Price for this Part "
                                                           "Number!")};
    for (int i = 0; i < 3; ++i) {
        if (Text1[i]->text().isEmpty()) {
            prompter().message(missing[i]);
            Text1[i]->setFocus();
            return false;
        }
    }
    if (combItemType->currentText().isEmpty()) {
        prompter().message(QStringLiteral("Please select a Part type!"));
        return false;
    }
    return true;
}

std::optional<InventoryItem> inventory::itemFromBoxes()
{
    const auto price = Currency::parse(Text1[2]->text());
    if (!price || !conv::isNumeric(txtTaxRate->text())) {
        prompter().message(QStringLiteral("Please fill in all the text boxes"));
        return std::nullopt;
    }
    InventoryItem item;
    item.itemNo = Text1[0]->text();
    item.description = Text1[1]->text();
    item.price = *price;
    item.taxable = chkTaxable->isChecked();
    item.taxRate = txtTaxRate->text().trimmed().toDouble();
    item.itemType = combItemType->currentText();
    item.inactive = chkInactive->isChecked();
    item.postDate = conv::parseDate(txtPostDate->text()).value_or(QDate::currentDate());
    item.loaded = m_loaded;
    return item;
}

void inventory::saveItem(bool adding)
{
    const auto item = itemFromBoxes();
    if (!item)
        return;
    const Status status = Hourglass::around([&] {
        return adding ? InventoryStore::add(*item) : InventoryStore::update(m_currentItemNo, *item);
    });
    if (status.isDuplicate()) {
        prompter().message(QStringLiteral("This part number already exists!"));
        Text1[0]->setFocus();
        return;
    }
    if (status.isChanged()) {
        ChangedRecord::settle(
            m_loaded,
            [this] { return ChangedRecord::loadedOf(InventoryStore::load(m_currentItemNo)); },
            [this] { LoadItem(); });
        return;
    }
    if (!status) {
        prompter().message(status.message());
        if (status.isNotFound())
            FillItemList();
        return;
    }
    ClearItem();
}

void inventory::Toolbar1_ButtonClick(QAction* button)
{
    if (chkRemove->isChecked()) {
        RemoveItem();
        return;
    }
    if (!requiredBoxesFilled())
        return;
    const QString key = button->objectName();
    if (key == QLatin1String("Add"))
        saveItem(true);
    else if (key == QLatin1String("Edit"))
        saveItem(false);
    else if (key == QLatin1String("Clear"))
        ClearItem();
}

void inventory::RemoveItem()
{
    if (m_currentItemNo.isEmpty()) {
        prompter().message(QStringLiteral("No part number has been chosen; nothing was removed."));
        return;
    }
    if (!prompter().confirm(QStringLiteral(
            "Are you sure you want to remove this part number from the Database?"))) {
        prompter().message(QStringLiteral("Deletion has been cancelled"));
        return;
    }
    const Status status =
        Hourglass::around([this] { return InventoryStore::remove(m_currentItemNo); });
    if (!status) {
        prompter().message(status.message());
        return;
    }
    prompter().message(QStringLiteral("Inventory Item has beed deleted from database"));
    ClearItem();
    chkRemove->setChecked(false);
}
