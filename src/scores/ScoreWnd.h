#pragma once

#include <string>
#include <vector>

#include "core/scores/ScoreTable.h"
#include "skin/SkinnedPanel.h"

class BoardSizeComboBox;
class PictureListBox;
class QTreeWidget;

// The panel that shows the stored games of one picture and board size in rank order, by
// steps or by time. It keeps a picture, size and order choice of its own, and reloads
// Score.dat and the picture names every time it is shown.
class ScoreWnd : public SkinnedPanel {
public:
    ScoreWnd(QWidget* parent, const QRect& rect);
    ~ScoreWnd() override;

    // The child controls, made when the panel first shows or one is first asked for, and
    // never again.
    BoardSizeComboBox* SortCombo() { return EnsureControls(), m_sortCombo; }
    BoardSizeComboBox* SizeCombo() { return EnsureControls(), m_sizeCombo; }
    PictureListBox* PictureList() { return EnsureControls(), m_pictureList; }
    QTreeWidget* ScoreList() { return EnsureControls(), m_scoreList; }

protected:
    qintptr OnMessage(unsigned message, quintptr first, qintptr second) override;
    void CreateChildren() override;
    void OnSize(const QSize& size) override;

private:
    // Makes the controls unless they exist. Until the panel first shows, no one sees them: a
    // hidden panel does without their memory and the code they bring in.
    void EnsureControls();
    void CreateScoreList();
    void FitTranslatedHeadings();
    // Throws FileError for a damaged or unreadable Score.dat: then the picture list stays as
    // it was and m_allScores holds the rows read before the damage.
    void ReloadScores();
    void RankShown();
    void FillScoreList();

    BoardSizeComboBox* m_sortCombo = nullptr;
    BoardSizeComboBox* m_sizeCombo = nullptr;
    PictureListBox* m_pictureList = nullptr;
    QTreeWidget* m_scoreList = nullptr;
    ScoreTable m_allScores;
    ScoreTable m_shownScores;
    std::vector<std::string> m_pictureNames;  // entry i belongs to row i of m_pictureList
};
