#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <utility>

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolBar;
class QWidget;
class TabbedList;

/**
 * Creates a window's controls, each owned by the window and named as its handlers and the tests
 * find it, with the settings the program's windows share; and lays out captioned fields.
 */
class FormBuilder {
public:
    explicit FormBuilder(QWidget* owner) : m_owner(owner) {}

    QWidget* owner() const { return m_owner; }

    /** Any control: constructed with `args` and the window as parent, and named. */
    template <typename T, typename... Args> T* make(const QString& name, Args&&... args) const
    {
        auto* widget = new T(std::forward<Args>(args)..., m_owner);
        widget->setObjectName(name);
        return widget;
    }

    /** A text box; a positive `maxLength` limits what can be typed. */
    QLineEdit* textBox(const QString& name, int maxLength = 0) const;
    /** A box that only the program fills; a click may still select its text. */
    QLineEdit* readOnlyBox(const QString& name) const;
    /** A text area that Tab leaves, with its vertical scroll bar always shown. */
    QPlainTextEdit* textArea(const QString& name, bool readOnly = false) const;
    /** A drop-down list that refuses typed text and starts with nothing chosen. */
    QComboBox* choiceCombo(const QString& name) const;
    /** An editable combo that completes what is typed to its first matching entry. */
    QComboBox* searchCombo(const QString& name) const;
    /** A button that Enter in a text box does not press. */
    QPushButton* button(const QString& name, const QString& caption) const;
    QCheckBox* checkBox(const QString& name, const QString& caption) const;
    QRadioButton* option(const QString& name, const QString& caption) const;
    /** A list of tab-joined lines with its column starts in dialog units. */
    TabbedList* tabbedList(const QString& name, const QList<int>& tabStops = {}) const;
    QLabel* label(const QString& caption) const;

    /** A toolbar with text beside its pictures, for the window's layout's menu bar. */
    QToolBar* toolbar(const QString& name) const;
    /** A toolbar button named by its key, as the handler tells the buttons apart. */
    static QAction* toolButton(QToolBar* toolbar, const QString& key, const QString& text,
                               const QString& tip, QStyle::StandardPixmap picture);

    /** A caption at `column` of `row` with `field` beside it, over `span` columns. */
    void addLabelled(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field,
                     int span = 1) const;
    /** A caption above `field`. */
    void addAbove(QLayout* layout, const QString& caption, QWidget* field) const;
    /** Two captioned fields side by side, as a problem and its solution are shown. */
    QHBoxLayout* sideBySide(const QString& leftCaption, QWidget* left, const QString& rightCaption,
                            QWidget* right) const;
    QGroupBox* frame(const QString& title, QLayout* layout) const;

    /** Tab moves through `controls` in this order. */
    static void chainTabOrder(const QList<QWidget*>& controls);
    /** Replaces the combo's entries, leaving nothing chosen and no text. */
    static void setChoices(QComboBox* combo, const QStringList& entries);

private:
    QWidget* m_owner;
};
