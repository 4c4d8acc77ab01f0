#include "helpdesk/helpdeskwidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace HelpDeskWidgets {

QPushButton* button(const char* name, const QString& caption)
{
    auto* widget = named<QPushButton>(name);
    widget->setText(caption);
    widget->setAutoDefault(false);
    return widget;
}

QLineEdit* textBox(const char* name, int maxLength)
{
    auto* widget = named<QLineEdit>(name);
    widget->setMaxLength(maxLength);
    return widget;
}

QLineEdit* readOnlyBox(const char* name)
{
    auto* widget = named<QLineEdit>(name);
    widget->setReadOnly(true);
    widget->setFocusPolicy(Qt::ClickFocus);
    return widget;
}

QPlainTextEdit* textArea(const char* name, bool readOnly)
{
    auto* widget = named<QPlainTextEdit>(name);
    widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    widget->setTabChangesFocus(true);
    widget->setReadOnly(readOnly);
    // Small enough that the busy open-tickets page fits the task window.
    widget->setMinimumHeight(widget->fontMetrics().lineSpacing() * 2 + 12);
    return widget;
}

QComboBox* choiceCombo(const char* name)
{
    auto* widget = named<QComboBox>(name);
    widget->setEditable(false);
    widget->setCurrentIndex(-1);
    return widget;
}

void setChoices(QComboBox* combo, const QStringList& entries)
{
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

void addLabelled(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field,
                 int span)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1, 1, span);
}

void addAbove(QLayout* layout, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
}

QHBoxLayout* sideBySide(const QString& leftCaption, QWidget* left, const QString& rightCaption,
                        QWidget* right)
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

QGroupBox* frame(const QString& title, QLayout* layout)
{
    auto* box = new QGroupBox(title);
    box->setLayout(layout);
    return box;
}

} // namespace HelpDeskWidgets
