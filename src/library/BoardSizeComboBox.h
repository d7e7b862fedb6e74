#pragma once

#include <QComboBox>

// A drop-down list (not editable) that posts UM_COMBOSELCHANGE to its parent with its current
// index on every pick the player makes, with the mouse, the keys or the wheel, even a pick of
// the item already shown. Changes made in code (setCurrentIndex) post nothing. The index travels
// as static_cast<quintptr>(index); -1 means no selection. The owner fills the items.
class BoardSizeComboBox : public QComboBox {
public:
    explicit BoardSizeComboBox(QWidget* parent);

    // rect takes the open list too: the closed box stands at its top, as high as Qt's box.
    void PlaceDropDown(const QRect& rect);
};
