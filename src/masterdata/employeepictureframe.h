#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

/** The employee's picture with the path of its file and the button that chooses one. */
class EmployeePictureFrame : public QWidget {
    Q_OBJECT

public:
    explicit EmployeePictureFrame(QWidget* parent = nullptr);

    /** Shows the picture at `path`, or the default picture when `path` is empty. */
    void showEmployeePicture(const QString& path);
    /** The path of the picture file, as stored with the employee. */
    QString path() const;

    QLabel* Picture1 = nullptr;
    QLineEdit* txtPicLink = nullptr;
    QPushButton* cmdPicLink = nullptr;

public Q_SLOTS:
    void cmdPicLink_Click();

private:
    void showPicture(const QString& file);
};
