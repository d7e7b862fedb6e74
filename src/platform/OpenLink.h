#pragma once

#include <QString>
#include <functional>

// Hands a web address or a mailto link to the program the desktop associates with it.
// Whether that program starts is not reported: a missing handler simply opens nothing.
void OpenLink(const QString& link);

// What OpenLink calls. Tests install a double here; the previous opener is returned so it
// can be put back. An empty function restores the desktop's handler.
using LinkOpener = std::function<void(const QString& link)>;
LinkOpener SetLinkOpener(LinkOpener opener);
