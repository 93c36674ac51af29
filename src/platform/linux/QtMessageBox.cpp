#include "platform/linux/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace vireon {

void QtMessageBox::Show(const std::string& text, const std::string& caption, int32_t flags) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (flags & 0xF0) {
        case MB_ICONERROR:
            icon = QMessageBox::Critical;
            break;
        case MB_ICONEXCLAMATION:
            icon = QMessageBox::Warning;
            break;
        default:
            break;
    }
    // Application-modal, parented to the active window so it stays on top of the program.
    QMessageBox box(icon, QString::fromLocal8Bit(caption.empty() ? untitledCaption_ : caption),
                    QString::fromLocal8Bit(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace vireon
