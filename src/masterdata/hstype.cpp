#include "masterdata/hstype.h"

#include "widgets/hourglass.h"
#include "widgets/inputhelpers.h"
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
QGroupBox* frameOf(const char* name, const QString& caption, const QString& label, QWidget* field,
                   QPushButton* button)
{
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(QString::fromLatin1(name));
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(new QLabel(label, frame));
    layout->addWidget(field, 1);
    layout->addWidget(button);
    return frame;
}

} // namespace

HSType::HSType(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HSType"));
    setWindowTitle(QStringLiteral("Hardware Software Type"));
    WindowConventions::applyIcon(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false);
    QGroupBox* frame1 = buildAddFrame(m_hardware, "Frame1", QStringLiteral("Add Hardware Type"),
                                      QStringLiteral("Enter Hardware Type"));
    QGroupBox* frame2 = buildAddFrame(m_software, "Frame2", QStringLiteral("Add Software Type"),
                                      QStringLiteral("Enter Software Type"));
    QGroupBox* frame3 =
        buildRemoveFrame(m_hardware, "Frame3", QStringLiteral("Remove Harware Type"),
                         QStringLiteral("Selete Harware Type"));
    QGroupBox* frame4 =
        buildRemoveFrame(m_software, "Frame4", QStringLiteral("Remove Software Type"),
                         QStringLiteral("Select Software Type"));
    SSTab1->addTab(pageOf(frame1, frame2), QStringLiteral("Add Hardware/Software Type"));
    SSTab1->addTab(pageOf(frame3, frame4), QStringLiteral("Remove Hardware/Software Type"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    m_hardware.input->setObjectName(QStringLiteral("txtHardware"));
    m_hardware.add->setObjectName(QStringLiteral("cmdAddHard"));
    m_hardware.combo->setObjectName(QStringLiteral("combHW"));
    m_hardware.remove->setObjectName(QStringLiteral("cmdRemoveHW"));
    m_software.input->setObjectName(QStringLiteral("txtSoftware"));
    m_software.add->setObjectName(QStringLiteral("cmdAddSoft"));
    m_software.combo->setObjectName(QStringLiteral("combSW"));
    m_software.remove->setObjectName(QStringLiteral("cmdRemoveSW"));
    connect(m_hardware.add, &QPushButton::clicked, this, &HSType::cmdAddHard_Click);
    connect(m_software.add, &QPushButton::clicked, this, &HSType::cmdAddSoft_Click);
    connect(m_hardware.remove, &QPushButton::clicked, this, &HSType::cmdRemoveHW_Click);
    connect(m_software.remove, &QPushButton::clicked, this, &HSType::cmdRemoveSW_Click);
    InputHelpers::selectOnFocus({m_hardware.input, m_software.input});

    FillHardwareList();
    FillSoftwareList();
}

QGroupBox* HSType::buildAddFrame(Half& half, const char* frame, const QString& caption,
                                 const QString& label)
{
    half.input = new QLineEdit;
    half.input->setMaxLength(TypeLimit);
    half.add = new QPushButton(QStringLiteral("Add"));
    return frameOf(frame, caption, label, half.input, half.add);
}

QGroupBox* HSType::buildRemoveFrame(Half& half, const char* frame, const QString& caption,
                                    const QString& label)
{
    half.combo = new QComboBox;
    half.combo->setEditable(true);
    half.combo->setInsertPolicy(QComboBox::NoInsert);
    half.remove = new QPushButton(QStringLiteral("Remove"));
    return frameOf(frame, caption, label, half.combo, half.remove);
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
        const Status status = [&] {
            Hourglass busy;
            Database db;
            return TypeStore::add(db, half.list, type);
        }();
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
    const auto removed = [&] {
        Hourglass busy;
        Database db;
        return TypeStore::remove(db, half.list, type);
    }();
    if (!removed) {
        prompter().message(removed.status().message());
        return;
    }
    if (*removed == 0) {
        prompter().message(QStringLiteral("No record found"));
        return;
    }
    prompter().message(QStringLiteral("Item has been deleted"));
    half.combo->setEditText(QString());
    fillList(half);
}

void HSType::fillList(Half& half)
{
    Hourglass busy;
    Database db;
    QStringList types = TypeStore::types(db, half.list).valueOr({});
    std::sort(types.begin(), types.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker quiet(half.combo);
    half.combo->clear();
    half.combo->addItems(types);
    half.combo->setEditText(QString());
}
