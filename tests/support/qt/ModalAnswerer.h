#pragma once

// Answers the modal dialogs a test action opens, one step per dialog, in order: a timer polls
// every 10 ms for a new active modal widget and hands it to the next step. A modal widget that
// comes when no step is left is closed, so the test goes on instead of hanging, and fails it.
// An import's progress dialog is no question: it shows only when a run lasts half a second,
// which a loaded machine decides, so it is left to itself.

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>

namespace test {

class ModalAnswerer {
public:
    using Step = std::function<void(QWidget& modal)>;

    explicit ModalAnswerer(std::deque<Step> steps = {}) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }
    ~ModalAnswerer() {
        if (!m_unexpected.isEmpty())
            QTest::qFail(qPrintable("unexpected dialog: " + m_unexpected.join("; ")), __FILE__,
                         __LINE__);
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // Modal widgets handed to a step or closed for want of one.
    int Answered() const { return m_answered; }
    bool Done() const { return m_steps.empty(); }
    // What the unexpected ones said.
    const QStringList& Unexpected() const { return m_unexpected; }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last || qobject_cast<QProgressDialog*>(modal) != nullptr)
            return;
        m_last = modal;
        ++m_answered;
        if (m_steps.empty()) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            m_unexpected << QString::fromLatin1(modal->metaObject()->className()) + ": " +
                                (box != nullptr ? box->text() : modal->windowTitle());
            modal->close();
            return;
        }
        // Answered from a fresh event: a step that opens another modal loop must not hold
        // this timer, which Qt never fires again while its own handler is running.
        QTimer::singleShot(0, modal, [step = std::move(m_steps.front()), modal] { step(*modal); });
        m_steps.pop_front();
    }

    std::deque<Step> m_steps;
    QPointer<QWidget> m_last;
    QTimer m_timer;
    int m_answered = 0;
    QStringList m_unexpected;
};

// What a test saw of a message box or file dialog it answered.
struct SeenDialog {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QStringList filters;
    QString activeFilter;
};

inline void Remember(const QMessageBox& box, SeenDialog& seen) {
    seen.title = box.windowTitle();
    seen.text = box.text();
    seen.icon = box.icon();
    seen.buttons = box.standardButtons();
    if (QPushButton* button = box.defaultButton()) seen.defaultButton = box.standardButton(button);
}

inline void Remember(const QFileDialog& dialog, SeenDialog& seen) {
    seen.title = dialog.windowTitle();
    seen.filters = dialog.nameFilters();
    seen.activeFilter = dialog.selectedNameFilter();
}

// A step for a dialog of type Dialog: records it into seen, then lets answer close it.
template <typename Dialog>
ModalAnswerer::Step OnDialog(std::function<void(Dialog&)> answer, SeenDialog* seen = nullptr) {
    return [answer = std::move(answer), seen](QWidget& modal) {
        auto* dialog = qobject_cast<Dialog*>(&modal);
        QVERIFY(dialog != nullptr);
        if (seen != nullptr) Remember(*dialog, *seen);
        answer(*dialog);
    };
}

inline ModalAnswerer::Step OnBox(std::function<void(QMessageBox&)> answer,
                                 SeenDialog* seen = nullptr) {
    return OnDialog<QMessageBox>(std::move(answer), seen);
}

// Presses a key on whatever dialog came, as a player at the keyboard.
inline ModalAnswerer::Step PressKey(Qt::Key key) {
    return [key](QWidget& modal) { QTest::keyClick(&modal, key); };
}

// Answers a message box with a key.
inline ModalAnswerer::Step PressOnBox(Qt::Key key, SeenDialog* seen = nullptr) {
    return OnBox([key](QMessageBox& box) { QTest::keyClick(&box, key); }, seen);
}

// Answers a message box with a click on one of its buttons.
inline ModalAnswerer::Step ClickOnBox(QMessageBox::StandardButton which,
                                      SeenDialog* seen = nullptr) {
    return OnBox([which](QMessageBox& box) { box.button(which)->click(); }, seen);
}

// Chooses path, as the dialog shows it, in a file dialog and accepts it.
inline ModalAnswerer::Step ChooseFile(const QString& path, SeenDialog* seen = nullptr) {
    return OnDialog<QFileDialog>(
        [path](QFileDialog& dialog) {
            // selectFile leaves the name field alone once it has the focus: type the name too.
            dialog.selectFile(path);
            auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name != nullptr);
            name->setText(QFileInfo(path).fileName());
            QMetaObject::invokeMethod(&dialog, "accept");
        },
        seen);
}

// The same for a path in bytes, shown as Qt shows a file name.
inline ModalAnswerer::Step ChooseFile(const std::string& path, SeenDialog* seen = nullptr) {
    return ChooseFile(QFile::decodeName(path.c_str()), seen);
}

inline ModalAnswerer::Step CancelFileDialog() {
    return OnDialog<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
}

// Types a name into the name dialog, which has the focus in its edit box, and presses Enter.
inline ModalAnswerer::Step TypeName(const QString& name) {
    return [name](QWidget& modal) {
        auto* edit = modal.findChild<QLineEdit*>();
        QVERIFY(edit != nullptr);
        // Checked after answering, so a failure cannot leave the dialog open.
        const QString title = modal.windowTitle();
        const bool focused = edit->hasFocus();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(title, QString("Input name"));
        QVERIFY(focused);
    };
}

}  // namespace test
