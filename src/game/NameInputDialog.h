#pragma once

#include <QDialog>

class QLineEdit;

// Asks the winner's name. "OK" with an empty name is refused with a message and the
// dialog stays; blanks are a name. Cancel, Esc and the close box give no name.
class NameInputDialog : public QDialog {
public:
    explicit NameInputDialog(QWidget* parent);

    // The name exactly as typed.
    QString Name() const;
    QLineEdit* Edit() const { return m_edit; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_edit;
};
