#include "platform/QtProgramLauncher.h"

#include <QProcess>
#include <QStringList>

namespace vireon {

void QtProgramLauncher::Launch(const std::string& commandLine) {
    QStringList args = QProcess::splitCommand(QString::fromLocal8Bit(commandLine));
    if (args.isEmpty()) return;
    QString program = args.takeFirst();
    QProcess::startDetached(program, args);
}

}  // namespace vireon
