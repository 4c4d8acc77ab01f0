#pragma once

#include "masterdata/typestore.h"

#include <QWidget>

class FormBuilder;
class ListRead;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

/** The window that adds and removes the hardware and software types calls are filed under. */
class HSType : public QWidget {
    Q_OBJECT

public:
    explicit HSType(QWidget* parent = nullptr);

public Q_SLOTS:
    void cmdAddHard_Click();
    void cmdAddSoft_Click();
    void cmdRemoveHW_Click();
    void cmdRemoveSW_Click();
    void FillHardwareList();
    void FillSoftwareList();

private:
    /** The controls of one list: its input box and add button, its combo and remove button. */
    struct Half {
        TypeList list;
        QLineEdit* input = nullptr;
        QPushButton* add = nullptr;
        QComboBox* combo = nullptr;
        QPushButton* remove = nullptr;
        /** Reads the combo's types, and again after a read that failed. */
        ListRead* read = nullptr;
    };

    /** The object names of a frame, its box or combo, and its button. */
    struct Names {
        const char* frame;
        const char* field;
        const char* button;
    };

    QGroupBox* buildAddFrame(const FormBuilder& form, Half& half, const Names& names,
                             const QString& caption, const QString& label);
    QGroupBox* buildRemoveFrame(const FormBuilder& form, Half& half, const Names& names,
                                const QString& caption, const QString& label);
    void addType(Half& half);
    void removeType(Half& half);
    void fillList(Half& half);

    QTabWidget* SSTab1 = nullptr;
    Half m_hardware{TypeList::Hardware};
    Half m_software{TypeList::Software};
};
