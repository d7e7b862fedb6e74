#pragma once

#include <QRect>
#include <QWidget>

#include "platform/Messages.h"
#include "skin/ImageButton.h"
#include "skin/ImageHolder.h"

// The panel that presents the program: one skin picture that carries all its information,
// and two link buttons that open the web site and a new message to the support address.
class AboutFrame : public MessageReceiver<QWidget> {
public:
    static constexpr int kEmailButtonId = 3;
    static constexpr int kWebButtonId = 4;

    AboutFrame(QWidget* parent, const QRect& rect);
    ~AboutFrame() override;

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnSize(const QSize& size);
    void SetUpChildren();

    ImageButton m_emailButton;
    ImageButton m_webButton;
    ImageHolder m_aboutImage;
    QRect m_panelRect;
    bool m_childrenSetUp = false;  // the pictures are fetched once, on the first size
};
