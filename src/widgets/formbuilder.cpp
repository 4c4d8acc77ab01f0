#include "widgets/formbuilder.h"

#include "widgets/comboautocomplete.h"
#include "widgets/tabbedlist.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

QLineEdit* FormBuilder::textBox(const QString& name, int maxLength) const
{
    auto* box = make<QLineEdit>(name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

QLineEdit* FormBuilder::readOnlyBox(const QString& name) const
{
    auto* box = make<QLineEdit>(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QPlainTextEdit* FormBuilder::textArea(const QString& name, bool readOnly) const
{
    auto* area = make<QPlainTextEdit>(name);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setTabChangesFocus(true);
    area->setReadOnly(readOnly);
    return area;
}

QComboBox* FormBuilder::choiceCombo(const QString& name) const
{
    auto* combo = make<QComboBox>(name);
    combo->setEditable(false);
    combo->setCurrentIndex(-1);
    return combo;
}

QComboBox* FormBuilder::searchCombo(const QString& name) const
{
    auto* combo = make<QComboBox>(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    ComboAutoComplete::install(combo);
    return combo;
}

QPushButton* FormBuilder::button(const QString& name, const QString& caption) const
{
    auto* button = make<QPushButton>(name, caption);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* FormBuilder::checkBox(const QString& name, const QString& caption) const
{
    return make<QCheckBox>(name, caption);
}

QRadioButton* FormBuilder::option(const QString& name, const QString& caption) const
{
    return make<QRadioButton>(name, caption);
}

TabbedList* FormBuilder::tabbedList(const QString& name, const QList<int>& tabStops) const
{
    auto* list = make<TabbedList>(name);
    if (!tabStops.isEmpty())
        list->setTabStops(tabStops);
    return list;
}

QLabel* FormBuilder::label(const QString& caption) const
{
    return new QLabel(caption, m_owner);
}

QToolBar* FormBuilder::toolbar(const QString& name) const
{
    auto* bar = make<QToolBar>(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return bar;
}

QAction* FormBuilder::toolButton(QToolBar* toolbar, const QString& key, const QString& text,
                                 const QString& tip, QStyle::StandardPixmap picture)
{
    QAction* action = toolbar->addAction(toolbar->style()->standardIcon(picture), text);
    action->setObjectName(key);
    action->setToolTip(tip);
    return action;
}

void FormBuilder::addLabelled(QGridLayout* grid, int row, int column, const QString& caption,
                              QWidget* field, int span) const
{
    QLabel* text = label(caption);
    text->setBuddy(field);
    grid->addWidget(text, row, column);
    grid->addWidget(field, row, column + 1, 1, span);
}

void FormBuilder::addAbove(QLayout* layout, const QString& caption, QWidget* field) const
{
    QLabel* text = label(caption);
    text->setBuddy(field);
    layout->addWidget(text);
    layout->addWidget(field);
}

QHBoxLayout* FormBuilder::sideBySide(const QString& leftCaption, QWidget* left,
                                     const QString& rightCaption, QWidget* right) const
{
    auto* pair = new QHBoxLayout;
    for (const auto& [caption, field] :
         {std::pair(leftCaption, left), std::pair(rightCaption, right)}) {
        auto* column = new QVBoxLayout;
        addAbove(column, caption, field);
        pair->addLayout(column);
    }
    return pair;
}

QGroupBox* FormBuilder::frame(const QString& title, QLayout* layout) const
{
    auto* box = new QGroupBox(title, m_owner);
    box->setLayout(layout);
    return box;
}

void FormBuilder::chainTabOrder(const QList<QWidget*>& controls)
{
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

void FormBuilder::setChoices(QComboBox* combo, const QStringList& entries)
{
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}
