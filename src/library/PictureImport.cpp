#include "library/PictureImport.h"

QString RefusalMessage(const ImportedPicture& picture) {
    return QString::fromLocal8Bit(RefusalText(picture));
}
