#include "game/HintTexts.h"

#include "core/text/Translation.h"
#include "platform/QtTranslation.h"

QString HintText(int dRow, int dCol, int tiles) {
    // Whole sentences for the translators, one per side of the gap.
    struct Side {
        const char* one;
        const char* run;
    };
    static constexpr Side kSides[] = {
        {TrMark("the tile left of the gap moves right"),
         TrMark("the tile %1 places left of the gap moves right, with the tiles between")},
        {TrMark("the tile right of the gap moves left"),
         TrMark("the tile %1 places right of the gap moves left, with the tiles between")},
        {TrMark("the tile above the gap moves down"),
         TrMark("the tile %1 places above the gap moves down, with the tiles between")},
        {TrMark("the tile below the gap moves up"),
         TrMark("the tile %1 places below the gap moves up, with the tiles between")},
    };
    const Side& side = kSides[dCol < 0 ? 0 : dCol > 0 ? 1 : dRow < 0 ? 2 : 3];
    return tiles == 1 ? QTr(side.one) : QTr(side.run).arg(tiles);
}

QString HelpedGameText() {
    return QTr("A game played with help is not entered in the score table.");
}
