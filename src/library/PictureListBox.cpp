#include "library/PictureListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "core/library/DisplayName.h"
#include "platform/Messages.h"
#include "skin/FirstShown.h"
#include "skin/SkinImage.h"

PictureListBox::PictureListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    OnFirstShown(parent, this, [this] {
        m_panelShown = true;
        doItemsLayout();
    });
}

void PictureListBox::doItemsLayout() {
    if (m_panelShown) QListWidget::doItemsLayout();
}

void PictureListBox::ShowPictures(const std::vector<std::string>& names) {
    clear();
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) rows << WidenText(DisplayName(name));
    // One insertion: a large library is laid out once, not once per row.
    addItems(rows);
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

void PictureListBox::mousePressEvent(QMouseEvent* event) {
    // Only the left button selects: the list box takes no click of the others.
    if (event->button() != Qt::LeftButton) return;
    QListWidget::mousePressEvent(event);
}

void PictureListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Qt selects on the press, so the row under this click is already the selected one.
    PostMessage(parentWidget(), UM_LISTSELCHANGE, static_cast<quintptr>(SelectedRow()));
    QListWidget::mouseReleaseEvent(event);
}

void PictureListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    PostMessage(parentWidget(), UM_LISTDBLCLK, static_cast<quintptr>(SelectedRow()));
    QListWidget::mouseDoubleClickEvent(event);
}

void PictureListBox::keyPressEvent(QKeyEvent* event) {
    const int before = SelectedRow();
    QListWidget::keyPressEvent(event);
    const int after = SelectedRow();
    if (m_keysChoose && after != before)
        PostMessage(parentWidget(), UM_LISTSELCHANGE, static_cast<quintptr>(after));
}
