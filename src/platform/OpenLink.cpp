#include "platform/OpenLink.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

void OpenWithDesktop(const QString& link) { QDesktopServices::openUrl(QUrl(link)); }

LinkOpener& CurrentOpener() {
    static LinkOpener opener = OpenWithDesktop;
    return opener;
}

}  // namespace

void OpenLink(const QString& link) { CurrentOpener()(link); }

LinkOpener SetLinkOpener(LinkOpener opener) {
    LinkOpener previous = std::move(CurrentOpener());
    CurrentOpener() = opener ? std::move(opener) : LinkOpener(OpenWithDesktop);
    return previous;
}
