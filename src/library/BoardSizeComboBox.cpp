#include "library/BoardSizeComboBox.h"

#include "platform/Messages.h"

BoardSizeComboBox::BoardSizeComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this] {
        PostMessage(parentWidget(), UM_COMBOSELCHANGE, static_cast<quintptr>(currentIndex()));
    });
}

void BoardSizeComboBox::PlaceDropDown(const QRect& rect) {
    setGeometry(rect.left(), rect.top(), rect.width(), sizeHint().height());
}
