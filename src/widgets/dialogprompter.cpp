#include "widgets/dialogprompter.h"

#include "widgets/windowconventions.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A question is answered with the normal pointer even while a handler shows the hourglass.
class NormalPointer {
public:
    NormalPointer() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalPointer() { QGuiApplication::restoreOverrideCursor(); }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;
};

// Every dialog has a parent, so that none outlives the main window.
QWidget* parentWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return WindowConventions::mainWindow();
}

} // namespace

void DialogPrompter::message(const QString& text, const QString& title, Icon icon)
{
    NormalPointer pointer;
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, parentWindow());
    box.exec();
}

bool DialogPrompter::confirm(const QString& text, const QString& title, Icon icon)
{
    NormalPointer pointer;
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, parentWindow());
    return box.exec() != QMessageBox::No;
}

bool DialogPrompter::confirmDefaultNo(const QString& text, const QString& title, Icon icon)
{
    NormalPointer pointer;
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, parentWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> DialogPrompter::input(const QString& prompt, const QString& title,
                                             const QString& defaultText)
{
    NormalPointer pointer;
    bool ok = false;
    QString text =
        QInputDialog::getText(parentWindow(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString DialogPrompter::openFileName(const QString& caption, const QString& folder,
                                     const QString& filter)
{
    NormalPointer pointer;
    return QFileDialog::getOpenFileName(parentWindow(), caption, folder, filter);
}

QString DialogPrompter::saveFileName(const QString& caption, const QString& folder,
                                     const QString& filter)
{
    NormalPointer pointer;
    return QFileDialog::getSaveFileName(parentWindow(), caption, folder, filter);
}

QString DialogPrompter::existingFolder(const QString& caption, const QString& folder)
{
    NormalPointer pointer;
    return QFileDialog::getExistingDirectory(parentWindow(), caption, folder);
}

namespace {

Prompter*& installed()
{
    static Prompter* prompter = nullptr;
    return prompter;
}

} // namespace

Prompter& Prompter::current()
{
    static DialogPrompter dialogs;
    return installed() ? *installed() : dialogs;
}

void Prompter::install(Prompter* prompter)
{
    installed() = prompter;
}
