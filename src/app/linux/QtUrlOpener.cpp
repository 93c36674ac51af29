#include "app/linux/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace vireon {

void QtUrlOpener::Open(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace vireon
