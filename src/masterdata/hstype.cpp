#include "masterdata/hstype.h"

#include "widgets/formbuilder.h"
#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
#include "widgets/listread.h"
#include "widgets/prompter.h"
#include "widgets/windowconventions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int TypeLimit = 25;

QWidget* pageOf(QGroupBox* upper, QGroupBox* lower)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(upper);
    layout->addWidget(lower);
    layout->addStretch();
    return page;
}

/** A frame holding a label, the box to type or choose in, and the button that acts on it. */
QGroupBox* frameOf(const FormBuilder& form, const QString& name, const QString& caption,
                   const QString& label, QWidget* field, QPushButton* button)
{
    auto* row = new QHBoxLayout;
    row->addWidget(form.label(label));
    row->addWidget(field, 1);
    row->addWidget(button);
    QGroupBox* frame = form.frame(caption, row);
    frame->setObjectName(name);
    return frame;
}

} // namespace

HSType::HSType(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HSType"));
    setWindowTitle(QStringLiteral("Hardware Software Type"));
    WindowConventions::applyIcon(this);

    const FormBuilder form(this);
    SSTab1 = form.make<QTabWidget>(QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false);
    SSTab1->addTab(pageOf(buildAddFrame(form, m_hardware, {"Frame1", "txtHardware", "cmdAddHard"},
                                        QStringLiteral("Add Hardware Type"),
                                        QStringLiteral("Enter Hardware Type")),
                          buildAddFrame(form, m_software, {"Frame2", "txtSoftware", "cmdAddSoft"},
                                        QStringLiteral("Add Software Type"),
                                        QStringLiteral("Enter Software Type"))),
                   QStringLiteral("Add Hardware/Software Type"));
    SSTab1->addTab(pageOf(buildRemoveFrame(form, m_hardware, {"Frame3", "combHW", "cmdRemoveHW"},
                                           QStringLiteral("Remove Harware Type"),
                                           QStringLiteral("Selete Harware Type")),
                          buildRemoveFrame(form, m_software, {"Frame4", "combSW", "cmdRemoveSW"},
                                           QStringLiteral("Remove Software Type"),
                                           QStringLiteral("Select Software Type"))),
                   QStringLiteral("Remove Hardware/Software Type"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    connect(m_hardware.add, &QPushButton::clicked, this, &HSType::cmdAddHard_Click);
    connect(m_software.add, &QPushButton::clicked, this, &HSType::cmdAddSoft_Click);
    connect(m_hardware.remove, &QPushButton::clicked, this, &HSType::cmdRemoveHW_Click);
    connect(m_software.remove, &QPushButton::clicked, this, &HSType::cmdRemoveSW_Click);
    InputHelpers::selectOnFocus({m_hardware.input, m_software.input});

    FillHardwareList();
    FillSoftwareList();
}

QGroupBox* HSType::buildAddFrame(const FormBuilder& form, Half& half, const Names& names,
                                 const QString& caption, const QString& label)
{
    half.input = form.textBox(QLatin1String(names.field), TypeLimit);
    half.add = form.button(QLatin1String(names.button), QStringLiteral("Add"));
    return frameOf(form, QLatin1String(names.frame), caption, label, half.input, half.add);
}

QGroupBox* HSType::buildRemoveFrame(const FormBuilder& form, Half& half, const Names& names,
                                    const QString& caption, const QString& label)
{
    half.combo = form.make<QComboBox>(QLatin1String(names.field));
    half.combo->setEditable(true);
    half.combo->setInsertPolicy(QComboBox::NoInsert);
    half.remove = form.button(QLatin1String(names.button), QStringLiteral("Remove"));
    const QString what = half.list == TypeList::Hardware ? QStringLiteral("The hardware type list")
                                                         : QStringLiteral("The software type list");
    half.read = ListRead::install(
        half.combo, what, [&half] { return TypeStore::types(half.list); },
        [&half](QStringList types) {
            std::sort(types.begin(), types.end(), [](const QString& a, const QString& b) {
                return QString::compare(a, b, Qt::CaseInsensitive) < 0;
            });
            const QSignalBlocker quiet(half.combo);
            half.combo->clear();
            half.combo->addItems(types);
            half.combo->setEditText(QString());
        });
    return frameOf(form, QLatin1String(names.frame), caption, label, half.combo, half.remove);
}

void HSType::cmdAddHard_Click()
{
    addType(m_hardware);
}

void HSType::cmdAddSoft_Click()
{
    addType(m_software);
}

void HSType::cmdRemoveHW_Click()
{
    removeType(m_hardware);
}

void HSType::cmdRemoveSW_Click()
{
    removeType(m_software);
}

void HSType::FillHardwareList()
{
    fillList(m_hardware);
}

void HSType::FillSoftwareList()
{
    fillList(m_software);
}

void HSType::addType(Half& half)
{
    const QString type = half.input->text();
    // An empty type would only add a blank line to the lists.
    if (!type.isEmpty()) {
        const Status status = Hourglass::around([&] { return TypeStore::add(half.list, type); });
        if (!status) {
            prompter().message(status.message());
            return;
        }
    }
    half.input->clear();
    fillList(half);
}

void HSType::removeType(Half& half)
{
    const QString type = half.combo->currentText();
    if (type.isEmpty()) {
        prompter().message(QStringLiteral("No item has been chosen."));
        return;
    }
    if (!prompter().confirm(QStringLiteral("Are you sure that you want to delete this item?"),
                            Prompter::defaultTitle(), Prompter::Icon::None)) {
        prompter().message(QStringLiteral("Deletion has been cancled"));
        half.combo->setEditText(QString());
        return;
    }
    const Status removed = Hourglass::around([&] { return TypeStore::remove(half.list, type); });
    if (!removed) {
        prompter().message(removed.message());
        return;
    }
    prompter().message(QStringLiteral("Item has been deleted"));
    half.combo->setEditText(QString());
    fillList(half);
}

void HSType::fillList(Half& half)
{
    half.read->refresh();
}
