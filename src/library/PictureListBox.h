#pragma once

#include <QListWidget>
#include <string>
#include <vector>

// A plain list box that tells its parent about mouse clicks, and only about those.
// - At the end of every mouse click or drag in it (the release), it posts UM_LISTSELCHANGE
//   to its parent with the selected row, the row under the click being selected already.
// - On a left double click it posts UM_LISTDBLCLK with the selected row before Qt handles it.
// - Keyboard moves post nothing.
// Once a row is selected, clicks keep one selected: a click below the rows or a Ctrl+click
// leaves the selection as it was.
// The row travels as the first parameter: static_cast<quintptr>(row), so -1 (no selection)
// comes back as -1 through static_cast<int>. Receivers re-read the list when in doubt.
class PictureListBox : public QListWidget {
public:
    explicit PictureListBox(QWidget* parent);

    // Appends a row showing the picture's display name.
    void AddPicture(const std::string& name);
    // Shows exactly these pictures, one row each, in order; selects none.
    void ShowPictures(const std::vector<std::string>& names);

    // The selected row, -1 when none.
    int SelectedRow() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
