// Runs the window tests and the soak inside the program's own application object, on the
// offscreen platform unless the environment chooses another.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/AppText.h"
#include "app/linux/VireonApplication.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon::testing {

FakeMessageBoxes& ApplicationBoxes() {
    static FakeMessageBoxes boxes;
    return boxes;
}

}  // namespace vireon::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vireon::ErrorReport report(vireon::testing::ApplicationBoxes(), vireon::ApplicationTitle);
    vireon::VireonApplication app(argc, argv, report);
    return RUN_ALL_TESTS();
}
