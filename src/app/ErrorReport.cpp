#include "app/ErrorReport.h"

#include <exception>
#include <new>

#include "platform/Errors.h"

namespace vireon {

void ErrorReport::Show(std::string_view message) {
    boxes_.Show(ErrorReportText(message), title_, MB_ICONERROR);
}

void ErrorReport::ShowCurrentException() {
    // The box itself may fail (no memory left); nothing sensible remains to be done then.
    try {
        Show(CurrentExceptionMessage());
    } catch (...) {
    }
}

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

}  // namespace vireon
