#include "app/HomePage.h"

#include <QFile>
#include <QString>
#include <QUrl>

namespace vireon {

std::string HomePageUrl(const std::string& programDirectory) {
#ifdef VIREON_HOME_PAGE
    (void)programDirectory;
    return VIREON_HOME_PAGE;
#else
    // Encoded, so that a folder name with spaces or '#' still names the file.
    const QString page =
        QFile::decodeName(programDirectory.c_str()) + QStringLiteral("README.html");
    return QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded).toStdString();
#endif
}

}  // namespace vireon
