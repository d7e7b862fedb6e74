#pragma once

#include <QRect>
#include <QWidget>
#include <initializer_list>

#include "platform/Messages.h"
#include "skin/SkinButtons.h"

class QPainter;

// A panel of the main window: painted whole on the panel fill from skin pictures, with
// windowless picture buttons that it owns and hands every move, left press and left release.
// It builds its children on its first size notification and keeps them for its whole life.
class SkinnedPanel : public MessageReceiver<QWidget> {
public:
    ~SkinnedPanel() override;

protected:
    // name: the window name the main window and the tests find the panel by.
    SkinnedPanel(QWidget* parent, const char* name);

    // The last step of a panel's constructor: gives the panel its rectangle and its first
    // size notification, which builds its children.
    void Place(const QRect& rect);

    // Once, at the first size notification, before OnSize.
    virtual void CreateChildren() = 0;
    // At every size notification with a new size; PanelRect() already holds it.
    virtual void OnSize(const QSize& size);
    // Paints over the fill, back to front; the buttons only, unless a panel shows more.
    virtual void Paint(QPainter& painter);

    // Adds a plain button that sees the mouse after those added before.
    ImageButton& AddButton(int id, const layout::ButtonLayout& layout) {
        return m_buttons.Add(id, layout);
    }
    // The same, announced as a link to assistive technology.
    ImageButton& AddLink(int id, const layout::ButtonLayout& layout) {
        return m_buttons.Add(id, layout, SkinButtons::Kind::Link);
    }
    void SetUpButton(ImageButton& button, int id, const layout::ButtonLayout& layout) const {
        m_buttons.SetUp(button, id, layout);
    }
    // Clicks a button without the mouse, as a release over it would.
    void ClickButton(int id) { m_buttons.Click(id); }
    void DrawButtons(QPainter& painter) const { m_buttons.Draw(painter); }

    // Shows controls made after the panel was built, ahead of its other children in the order
    // assistive technology lists them, as if made first. A child made after its parent was
    // shown stays hidden until shown itself.
    void ShowAsFirstChildren(std::initializer_list<QWidget*> controls);

    // (0, 0, width, height) of the panel as of the last size notification.
    const QRect& PanelRect() const { return m_panelRect; }

    void resizeEvent(QResizeEvent* event) final;
    void paintEvent(QPaintEvent* event) final;
    void mouseMoveEvent(QMouseEvent* event) final;
    void mousePressEvent(QMouseEvent* event) final;
    void mouseReleaseEvent(QMouseEvent* event) final;

private:
    void Resize(const QSize& size);

    SkinButtons m_buttons{this};
    QRect m_panelRect;
    QSize m_panelSize{-1, -1};
    bool m_childrenCreated = false;
};
