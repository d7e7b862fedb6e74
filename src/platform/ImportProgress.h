#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

// The standard progress dialog over a run of total steps, owned by owner and window-modal. It
// shows itself only when the run takes longer than about half a second, with the step's text,
// "n of N" and Cancel.
class ImportProgress {
public:
    ImportProgress(QWidget* owner, int total);
    ImportProgress(const ImportProgress&) = delete;
    ImportProgress& operator=(const ImportProgress&) = delete;
    virtual ~ImportProgress();

    // Announces step n (from 1) with its text; false once the player has pressed Cancel.
    bool Begin(int n, const QString& text);
    // Called while a step works: shows the dialog once it is due and lets Cancel be pressed.
    // False once the player has pressed Cancel. Until the dialog shows, no input is taken.
    bool KeepGoing();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    int m_total;
    QElapsedTimer m_since;
};
