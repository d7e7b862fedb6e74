#include <QApplication>
#include <QTest>
#include <QWidget>

#include "library/BoardSizeComboBox.h"
#include "library/PictureListBox.h"
#include "platform/Messages.h"
#include "support/qt/TestMain.h"

namespace {

// The parent of the controls: logs every notification as "message:index".
class Parent : public MessageReceiver<QWidget> {
public:
    QStringList log;

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr) override {
        log << QStringLiteral("%1:%2").arg(message, 0, 16).arg(static_cast<int>(first));
        return 0;
    }
};

QPoint CentreOfRow(PictureListBox& list, int row) {
    return list.visualItemRect(list.item(row)).center();
}

}  // namespace

class PictureControlsTest : public QObject {
    Q_OBJECT

private:
    Parent* m_parent = nullptr;
    PictureListBox* m_list = nullptr;
    BoardSizeComboBox* m_combo = nullptr;

private slots:
    void init() {
        m_parent = new Parent;
        m_parent->resize(300, 300);
        m_list = new PictureListBox(m_parent);
        m_list->setGeometry(10, 40, 180, 170);
        m_list->addItems({"Beach", "Harbour", "Forest"});
        m_list->setCurrentRow(0);
        m_combo = new BoardSizeComboBox(m_parent);
        m_combo->setGeometry(10, 5, 180, 24);
        m_combo->addItems({"first", "second", "third"});
        m_combo->setCurrentIndex(0);
        m_parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_parent));
        QCoreApplication::sendPostedEvents();
        m_parent->log.clear();
    }

    void cleanup() { delete m_parent; }

    void ClickPostsTheClickedRowAfterTheRelease() {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(*m_list, 2));
        QVERIFY(m_parent->log.isEmpty());  // posted, not sent
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, QStringList{"465:2"});
        QCOMPARE(m_list->SelectedRow(), 2);
    }

    void OtherButtonsNeitherSelectNorNotify_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void OtherButtonsNeitherSelectNorNotify() {
        QFETCH(Qt::MouseButton, button);
        const QPoint row = CentreOfRow(*m_list, 2);
        QTest::mouseClick(m_list->viewport(), button, {}, row);
        QTest::mouseDClick(m_list->viewport(), button, {}, row);
        QTest::mouseRelease(m_list->viewport(), button, {}, row);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, QStringList{});
        QCOMPARE(m_list->SelectedRow(), 0);
    }

    void ClickOnTheSelectedRowPostsAgain() {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(*m_list, 0));
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(*m_list, 0));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, (QStringList{"465:0", "465:0"}));
    }

    void ClickBelowTheRowsKeepsTheSelectionAndPostsIt() {
        m_list->setCurrentRow(1);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(20, 160));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_list->SelectedRow(), 1);
        QCOMPARE(m_parent->log, QStringList{"465:1"});
    }

    void ControlClickOnTheSelectedRowKeepsIt() {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          CentreOfRow(*m_list, 0));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_list->SelectedRow(), 0);
        QCOMPARE(m_parent->log, QStringList{"465:0"});
    }

    void PressAloneNotifiesNothingUntilTheRelease() {
        QTest::mousePress(m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(*m_list, 1));
        QCoreApplication::sendPostedEvents();
        QVERIFY(m_parent->log.isEmpty());
        QTest::mouseRelease(m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(*m_list, 1));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, QStringList{"465:1"});
    }

    void DoubleClickPostsTheRowBeforeTheSecondRelease() {
        const QPoint point = CentreOfRow(*m_list, 1);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(m_list->viewport(), Qt::LeftButton, {}, point);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, (QStringList{"465:1", "466:1", "465:1"}));
    }

    void KeyboardMovesNotifyNothing() {
        m_list->setFocus();
        QTest::keyClick(m_list, Qt::Key_Down);
        QTest::keyClick(m_list, Qt::Key_Down);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_list->SelectedRow(), 2);
        QVERIFY(m_parent->log.isEmpty());
    }

    void SelectedRowIsMinusOneWithoutSelection() {
        m_list->clearSelection();
        QCOMPARE(m_list->SelectedRow(), -1);
    }

    void ComboPickWithTheKeysPostsTheNewIndex() {
        QTest::keyClick(m_combo, Qt::Key_Down);
        QVERIFY(m_parent->log.isEmpty());  // posted, not sent
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, QStringList{"468:1"});
    }

    void ComboPickFromTheOpenListPostsTheIndex() {
        m_combo->showPopup();
        QAbstractItemView* popup = m_combo->view();
        QTRY_VERIFY(popup->isVisible());
        const QRect row = popup->visualRect(popup->model()->index(2, 0));
        const QPoint point(qMin(row.center().x(), popup->viewport()->width() / 2),
                           row.center().y());
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, point);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_parent->log, QStringList{"468:2"});
        QCOMPARE(m_combo->currentIndex(), 2);
    }

    void ComboChangedInCodePostsNothing() {
        m_combo->setCurrentIndex(2);
        QCoreApplication::sendPostedEvents();
        QVERIFY(m_parent->log.isEmpty());
    }
};

CORVALIN_QT_TEST_MAIN(PictureControlsTest)
#include "PictureControlsTest.moc"
