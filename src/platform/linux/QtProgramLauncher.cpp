#include "platform/linux/QtProgramLauncher.h"

#include <QProcess>
#include <QStringList>

namespace vireon {

bool QtProgramLauncher::Launch(const std::string& commandLine) {
    QStringList args = QProcess::splitCommand(QString::fromLocal8Bit(commandLine));
    if (args.isEmpty()) return false;
    QString program = args.takeFirst();
    return QProcess::startDetached(program, args);
}

}  // namespace vireon
