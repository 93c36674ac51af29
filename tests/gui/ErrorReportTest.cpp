// The error report and where it catches: a handler's boundary, the application's event
// dispatch, and a start-up that fails.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <new>
#include <stdexcept>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "platform/Errors.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::ApplicationBoxes;
using testing::FakeMessageBoxes;
using testing::ShownBox;

TEST(ErrorReportTest, ShowsTheMessageWithTheTitleAndTheErrorIcon) {
    struct Case {
        std::string message, shown;
    };
    const Case cases[] = {
        {"Cannot open file /x/okaven.ini", "Cannot open file /x/okaven.ini."},
        {"List index out of bounds (3)", "List index out of bounds (3)"},  // ')' is below '.'
        {"Ends with a full stop.", "Ends with a full stop."},
        {"'12x' is not a valid integer value", "'12x' is not a valid integer value."},
        {"", ""},
    };
    for (const Case& c : cases) {
        FakeMessageBoxes boxes;
        ErrorReport report(boxes, "Title");
        report.Show(c.message);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0], (ShownBox{c.shown, "Title", MB_ICONERROR})) << c.message;
    }
}

TEST(ErrorReportTest, GuardReportsWhatEscapesAndGoesOn) {
    FakeMessageBoxes boxes;
    ErrorReport report(boxes, ApplicationTitle);
    report.Guard([] { throw FileCreateError("/ro/okaven.ini"); });
    report.Guard([] { throw std::bad_alloc(); });
    report.Guard([] { throw 42; });
    bool ran = false;
    report.Guard([&] { ran = true; });
    EXPECT_TRUE(ran);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0],
              (ShownBox{"Cannot create file /ro/okaven.ini.", ApplicationTitle, MB_ICONERROR}));
    EXPECT_EQ(boxes.shown[1].text, "Out of memory.");
    EXPECT_EQ(boxes.shown[2].text, "Unknown error.");
}

// An object whose own event handler throws, as a handler of the program could.
class ThrowingObject final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw ConvertError("'abc' is not a valid integer value");
        return QObject::event(e);
    }
};

TEST(ErrorReportTest, TheApplicationReportsWhatEscapesAnEventHandler) {
    ApplicationBoxes().shown.clear();
    ThrowingObject target;
    QEvent event(QEvent::User);
    // Sent: the exception would otherwise leave through sendEvent.
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    // Posted: the event loop survives it and delivers the next one.
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&target);
    ASSERT_EQ(ApplicationBoxes().shown.size(), 2u);
    for (const ShownBox& box : ApplicationBoxes().shown)
        EXPECT_EQ(
            box, (ShownBox{"'abc' is not a valid integer value.", ApplicationTitle, MB_ICONERROR}));
    ApplicationBoxes().shown.clear();
}

}  // namespace
}  // namespace vireon
