#pragma once

#include <QDate>
#include <QWidget>
#include <array>

class FormBuilder;
class QAction;
class QGridLayout;
class QLineEdit;
class QToolBar;

/** The window that keeps the shop's own record: added once, corrected afterwards. */
class Company : public QWidget {
    Q_OBJECT

public:
    explicit Company(QWidget* parent = nullptr);

public Q_SLOTS:
    void Toolbar1_ButtonClick(QAction* button);
    /** Whichever box is left, the state box shows capitals. */
    void Text1_LostFocus(int index);

private:
    void buildControls();
    QGridLayout* layoutFields(const FormBuilder& form);
    void showAddState(bool add);

    QToolBar* Toolbar1 = nullptr;
    QAction* m_add = nullptr;
    QAction* m_edit = nullptr;
    /** Name, address, city, state, zip, phone, fax, e-mail, web site. */
    std::array<QLineEdit*, 9> Text1{};
    QLineEdit* txtPostDate = nullptr;
    QDate m_postDate;
};
