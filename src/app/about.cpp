#include "app/about.h"

#include "widgets/windowconventions.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

About::About(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Quorvane"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(WindowConventions::applicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    auto* product = new QLabel(QStringLiteral("Quorvane Pro"), this);
    product->setObjectName(QStringLiteral("lblProduct"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version 2.2\nHelp desk, repair and billing for "
                                              "computer-support shops"),
                               this);
    version->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(icon);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}
