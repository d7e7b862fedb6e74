#pragma once

#include "skin/ImageHolder.h"
#include "skin/SkinnedPanel.h"

// The panel that presents the program: one skin picture that carries all its information,
// and two link buttons that open the web site and a new message to the support address.
class AboutFrame : public SkinnedPanel {
public:
    static constexpr int kEmailButtonId = 3;
    static constexpr int kWebButtonId = 4;

    AboutFrame(QWidget* parent, const QRect& rect);
    ~AboutFrame() override;

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    // The pictures are fetched once, on the first size notification.
    void CreateChildren() override;
    void Paint(QPainter& painter) override;

private:
    ImageHolder m_aboutImage;
};
