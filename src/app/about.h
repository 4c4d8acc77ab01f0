#pragma once

#include <QWidget>

/** The small window that names the product and its version. */
class About : public QWidget {
    Q_OBJECT

public:
    explicit About(QWidget* parent = nullptr);
};
