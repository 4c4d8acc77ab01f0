#pragma once

#include <QWidget>

class QTextBrowser;

/** Shows the program's user guide, shipped as HTML in the program folder's Help folder. */
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
