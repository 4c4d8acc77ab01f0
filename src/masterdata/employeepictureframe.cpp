#include "masterdata/employeepictureframe.h"

#include "data/programfolder.h"
#include "widgets/formbuilder.h"
#include "widgets/inputhelpers.h"
#include "widgets/prompter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString defaultPicture()
{
    return ProgramFolder::filePath(QStringLiteral("EmpPics/defaultPic.jpg"));
}

} // namespace

EmployeePictureFrame::EmployeePictureFrame(QWidget* parent) : QWidget(parent)
{
    const FormBuilder form(this);
    Picture1 = form.make<QLabel>(QStringLiteral("Picture1"));
    Picture1->setFixedSize(160, 180);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignCenter);
    txtPicLink = form.textBox(QStringLiteral("txtPicLink"));
    InputHelpers::selectOnFocus({txtPicLink});
    cmdPicLink = form.button(QStringLiteral("cmdPicLink"), QStringLiteral("Add Picture"));
    connect(cmdPicLink, &QPushButton::clicked, this, &EmployeePictureFrame::cmdPicLink_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Picture1, 0, Qt::AlignHCenter);
    layout->addWidget(txtPicLink);
    layout->addWidget(cmdPicLink);
    layout->addStretch();
    showEmployeePicture(QString());
}

void EmployeePictureFrame::showEmployeePicture(const QString& path)
{
    txtPicLink->setText(path);
    showPicture(path.isEmpty() ? defaultPicture() : path);
}

QString EmployeePictureFrame::path() const
{
    return txtPicLink->text();
}

void EmployeePictureFrame::showPicture(const QString& file)
{
    const QPixmap picture(file);
    if (picture.isNull()) {
        Picture1->setPixmap(QPixmap());
        return;
    }
    Picture1->setPixmap(picture.scaled(Picture1->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                       Qt::SmoothTransformation));
}

void EmployeePictureFrame::cmdPicLink_Click()
{
    // Only the path is kept: the file stays where it is.
    const QString path = prompter().openFileName(
        QString(), ProgramFolder::filePath(QStringLiteral("EmpPics")),
        QStringLiteral("All image files (*.bmp *.jpg *.pcx *.BMP *.JPG *.PCX);;"
                       "BMP files (*.bmp *.BMP);;JPEG files (*.jpg *.JPG);;"
                       "PCX files (*.pcx *.PCX)"));
    if (path.isEmpty())
        return;
    txtPicLink->setText(path);
    showPicture(path);
}
