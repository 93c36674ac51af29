#include "platform/SystemError.h"

#include <cstring>

namespace vireon {

std::string SystemErrorText(int error) {
    return std::strerror(error);
}

}  // namespace vireon
