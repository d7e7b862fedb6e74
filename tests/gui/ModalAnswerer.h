#pragma once

// Answers the modal dialogs a test action opens, one step per dialog, in order: a timer
// polls every 10 ms for a new active modal widget and hands it to the next step.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace test {

class ModalAnswerer {
public:
    using Step = std::function<void(QWidget& modal)>;

    explicit ModalAnswerer(std::deque<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }

    int Answered() const { return m_answered; }
    bool Done() const { return m_steps.empty(); }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last || m_steps.empty()) return;
        m_last = modal;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        ++m_answered;
        // Answered from a fresh event: a step that opens another modal loop must not hold
        // this timer, which Qt never fires again while its own handler is running.
        QTimer::singleShot(0, modal, [step = std::move(step), modal] { step(*modal); });
    }

    std::deque<Step> m_steps;
    QPointer<QWidget> m_last;
    QTimer m_timer;
    int m_answered = 0;
};

}  // namespace test
