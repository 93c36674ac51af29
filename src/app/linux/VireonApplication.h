#pragma once
// The application object: reports anything a handler lets escape and carries on with the next
// event, instead of letting it end the program.
#include <QApplication>

#include "app/ErrorReport.h"

namespace vireon {

class VireonApplication final : public QApplication {
    Q_OBJECT
public:
    VireonApplication(int& argc, char** argv, ErrorReport& report);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReport& report_;
};

}  // namespace vireon
