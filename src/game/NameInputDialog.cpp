#include "game/NameInputDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/MessageBox.h"
#include "platform/QtTranslation.h"

namespace {

// The dialog is laid out in dialog units of the original template, two pixels each.
QRect Units(int x, int y, int width, int height) {
    return QRect(x * 2, y * 2, width * 2, height * 2);
}

}  // namespace

NameInputDialog::NameInputDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QTr("Input name"));
    setFixedSize(Units(0, 0, 164, 68).size());

    auto* group = new QGroupBox(this);
    group->setGeometry(Units(7, 7, 150, 54));
    auto* ok = new QPushButton(QTr("OK"), this);
    ok->setGeometry(Units(25, 39, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QTr("Cancel"), this);
    cancel->setGeometry(Units(89, 39, 50, 14));
    // TRANSLATORS: the prompt left of the name field; the colon is full-width in English
    auto* prompt = new QLabel(QTr("Please input your name\uff1a"), this);
    prompt->setGeometry(Units(12, 17, 86, 8));
    if (prompt->sizeHint().width() > prompt->width()) {
        // A longer translation wraps into the free space above the buttons, never cut off.
        prompt->setWordWrap(true);
        prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        prompt->setGeometry(Units(12, 14, 86, 24));
    }
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(Units(99, 16, 52, 14));

    setTabOrder(ok, cancel);
    setTabOrder(cancel, m_edit);
    connect(ok, &QPushButton::clicked, this, &NameInputDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &NameInputDialog::reject);
}

QString NameInputDialog::Name() const { return m_edit->text(); }

void NameInputDialog::accept() {
    if (m_edit->text().isEmpty()) {
        ShowMessageBox(this, QTr("Please input your name!"));
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}

void NameInputDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Without a window manager nothing activates a new window: take the keyboard ourselves.
    activateWindow();
    m_edit->setFocus();
}
