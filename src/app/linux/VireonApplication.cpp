#include "app/linux/VireonApplication.h"

namespace vireon {

VireonApplication::VireonApplication(int& argc, char** argv, ErrorReport& report)
    : QApplication(argc, argv), report_(report) {}

bool VireonApplication::notify(QObject* receiver, QEvent* event) {
    // Qt's own widget code is built without exception support, so the program's handlers catch
    // at their own boundary (ErrorReport::Guard); this is the net for whatever gets past them.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        report_.ShowCurrentException();
        return false;
    }
}

}  // namespace vireon
