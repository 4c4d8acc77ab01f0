#pragma once

#include <QStringList>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

/** Builders for the controls of the help desk window's pages, named as the handlers expect. */
namespace HelpDeskWidgets {

template <typename T> T* named(const char* name, QWidget* parent = nullptr)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(const char* name, const QString& caption);
QLineEdit* textBox(const char* name, int maxLength = 32767);
/** A box that only the program fills. */
QLineEdit* readOnlyBox(const char* name);
QPlainTextEdit* textArea(const char* name, bool readOnly = false);
/** A drop-down list that refuses typed text and starts with nothing chosen. */
QComboBox* choiceCombo(const char* name);
/** Replaces the combo's entries, leaving nothing chosen and no text. */
void setChoices(QComboBox* combo, const QStringList& entries);

/** A caption label at `column` of `row` with `field` beside it, over `span` columns. */
void addLabelled(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field,
                 int span = 1);
/** A caption label above `field` in a vertical layout. */
void addAbove(QLayout* layout, const QString& caption, QWidget* field);
/** Two captioned fields side by side, as a problem and its solution are shown. */
QHBoxLayout* sideBySide(const QString& leftCaption, QWidget* left, const QString& rightCaption,
                        QWidget* right);
QGroupBox* frame(const QString& title, QLayout* layout);

} // namespace HelpDeskWidgets
