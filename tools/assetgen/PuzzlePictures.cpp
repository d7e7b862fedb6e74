#include "Pictures.h"

NamedImages PaintPuzzlePictures() {
    return {
        {"Harbour.jpg", PaintHarbour()}, {"Meadow.jpg", PaintMeadow()},
        {"Reef.jpg", PaintReef()},       {"Balloons.jpg", PaintBalloons()},
        {"Skyline.jpg", PaintSkyline()}, {"Mountains.jpg", PaintMountains()},
        {"Mosaic.jpg", PaintMosaic()},   {"Cosmos.jpg", PaintCosmos()},
        {"Numbers.jpg", PaintNumbers()},
    };
}
