#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QComboBox;
class QWidget;

/**
 * A window whose lists show what other workstations change reads them again when the user
 * presses F5 anywhere in it, and when the menu brings the window forward. What the user has
 * typed or chosen stays: each window's reload keeps it.
 */
class WindowRefresh : public QObject {
    Q_OBJECT

public:
    using Reload = std::function<void()>;

    /** Gives `window` its reload; it lives as long as the window. */
    static void install(QWidget* window, Reload reload);
    /** Runs the reload `window` was given; nothing for a window without one. */
    static void reload(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowRefresh(QWidget* window, Reload reload);

    Reload m_reload;
};

/**
 * While it lives, the combo boxes it was given keep what they show through a refill: each
 * shows the same entry again, or the same text when that entry is gone, without the signal of
 * a user's choice.
 */
class KeptChoices {
public:
    explicit KeptChoices(const QList<QComboBox*>& combos);
    ~KeptChoices();
    KeptChoices(const KeptChoices&) = delete;
    KeptChoices& operator=(const KeptChoices&) = delete;

private:
    struct Kept {
        QPointer<QComboBox> combo;
        QString text;
    };
    QList<Kept> m_kept;
};
