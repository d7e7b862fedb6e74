#include "library/PictureListBox.h"

#include <QMouseEvent>

#include "core/library/DisplayName.h"
#include "platform/Messages.h"
#include "skin/SkinImage.h"

PictureListBox::PictureListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
}

void PictureListBox::AddPicture(const std::string& name) { addItem(WidenText(DisplayName(name))); }

void PictureListBox::ShowPictures(const std::vector<std::string>& names) {
    clear();
    for (const std::string& name : names) AddPicture(name);
}

int PictureListBox::SelectedRow() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

QItemSelectionModel::SelectionFlags PictureListBox::selectionCommand(const QModelIndex& index,
                                                                     const QEvent*) const {
    // The panels always act on a selected row, so the player cannot unselect it.
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

void PictureListBox::mouseReleaseEvent(QMouseEvent* event) {
    // Qt selects on the press, so the row under this click is already the selected one.
    PostMessage(parentWidget(), UM_LISTSELCHANGE, static_cast<quintptr>(SelectedRow()));
    QListWidget::mouseReleaseEvent(event);
}

void PictureListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        PostMessage(parentWidget(), UM_LISTDBLCLK, static_cast<quintptr>(SelectedRow()));
    }
    QListWidget::mouseDoubleClickEvent(event);
}
