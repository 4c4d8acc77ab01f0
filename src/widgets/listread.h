#pragma once

#include "data/status.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

/**
 * Fills a list or a combo box from a read, so that a read that fails never looks like a list
 * without rows: the status line says which list could not be read and why, and the list is
 * read again when the user next comes back to it (clicks it or tabs into it), until a read
 * succeeds. It lives as long as the control it fills.
 */
class ListRead : public QObject {
public:
    /** Reads and, when the read succeeded, fills; gives the read's status. */
    using Step = std::function<Status()>;

    /** `what` names the list in the notice ("The customer list"). */
    ListRead(QWidget* control, QString what, Step step);

    /** The step that fills with `fill` what `read` gives: `read` returns a Result, `fill` takes
     *  its value. */
    template <typename Read, typename Fill>
    static ListRead* install(QWidget* control, const QString& what, Read read, Fill fill)
    {
        return new ListRead(control, what, [read = std::move(read), fill = std::move(fill)] {
            const auto result = read();
            if (result)
                fill(*result);
            return statusOf(result);
        });
    }

    /** Reads the list again also when the user comes to `widget` (another list it fills). */
    void watch(QWidget* widget);

    /** Reads and fills now; false, with the notice, when the read failed. */
    bool refresh();
    /** Whether the last read failed, so that the next visit reads again. */
    bool failed() const { return !m_failure.isEmpty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_what;
    Step m_step;
    /** The notice of the last read when it failed; empty after a read that succeeded. */
    QString m_failure;
};
