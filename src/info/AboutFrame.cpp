#include "info/AboutFrame.h"

#include "info/Links.h"
#include "platform/OpenLink.h"
#include "skin/PackageImage.h"

AboutFrame::AboutFrame(QWidget* parent, const QRect& rect) : SkinnedPanel(parent, "AboutFrame") {
    Place(rect);
}

AboutFrame::~AboutFrame() = default;

void AboutFrame::CreateChildren() {
    AddButton(kEmailButtonId, layout::kEmailButton);
    AddButton(kWebButtonId, layout::kWebButton);
    SetUpHolder(m_aboutImage, layout::kAboutImage);
}

qintptr AboutFrame::OnMessage(unsigned message, quintptr first, qintptr) {
    if (message != UM_BUTTONCLICK) return 0;
    if (first == kEmailButtonId) OpenLink(QString::fromLatin1(kSupportMailLink));
    if (first == kWebButtonId) OpenLink(QString::fromLatin1(kWebSiteAddress));
    return 0;
}

void AboutFrame::Paint(QPainter& painter) {
    m_aboutImage.Draw(painter);
    DrawButtons(painter);
}
