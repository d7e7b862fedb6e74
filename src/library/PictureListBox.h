#pragma once

#include <QListWidget>
#include <string>
#include <vector>

// A plain list box that tells its parent about left-button clicks, and only about those; the
// other buttons neither select nor notify.
// - At the end of every left click or drag in it (the release), it posts UM_LISTSELCHANGE
//   to its parent with the selected row, the row under the click being selected already.
// - On a left double click it posts UM_LISTDBLCLK with the selected row before Qt handles it.
// - Keyboard moves post nothing, unless the owner asks for ChooseWithKeys.
// Once a row is selected, clicks keep one selected: a click below the rows or a Ctrl+click
// leaves the selection as it was.
// The row travels as the first parameter: static_cast<quintptr>(row), so -1 (no selection)
// comes back as -1 through static_cast<int>. Receivers re-read the list when in doubt.
class PictureListBox : public QListWidget {
public:
    explicit PictureListBox(QWidget* parent);

    // Shows exactly these pictures, one row each, in order; selects none.
    void ShowPictures(const std::vector<std::string>& names);

    // The selected row, -1 when none.
    int SelectedRow() const;

    // From now on a key that moves the selection to another row (arrows, Home, End, pages, a
    // typed letter) posts UM_LISTSELCHANGE with it, as a click on that row does; the mouse
    // stays as it is.
    void ChooseWithKeys() { m_keysChoose = true; }

    // Lays the rows out only once the parent panel shows: that measures them with the font.
    void doItemsLayout() override;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_panelShown = false;
    bool m_keysChoose = false;
};
