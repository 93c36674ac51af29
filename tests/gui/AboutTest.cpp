// The About dialog as laid out.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/linux/About.h"

namespace vireon {
namespace {

TEST(AboutTest, LayoutAsDesigned) {
    TFormAbout about;
    EXPECT_FALSE(about.isVisible());  // made hidden
    EXPECT_EQ(about.windowTitle(), "About OKAVEN Vireon");
    EXPECT_EQ(about.size(), QSize(387, 249));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());  // a fixed dialog frame
    EXPECT_EQ(about.pos(), QPoint(142, 79));

    struct LabelCase {
        QLabel* label;
        const char* text;
        QRect box;  // an empty size: only the position is fixed
        bool wrap;
    };
    const LabelCase labels[] = {
        {about.Label1, "OKAVEN Vireon", {80, 16, 0, 0}, false},
        {about.Label5, "Version 0.1 released on 25-dec-99", {80, 40, 209, 17}, true},
        {about.Label6,
         "Accurate frequency spectrum analyzer in the range 0 - 2500 Hz. Requires a powerful PC",
         {80, 64, 213, 26},
         true},
        {about.Label4,
         "For radio amateur use only. Commercial or militar use strictly prohibited.",
         {80, 192, 199, 26},
         true},
    };
    for (const LabelCase& c : labels) {
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(c.label->pos(), c.box.topLeft()) << c.text;
        if (!c.box.size().isEmpty()) {
            EXPECT_EQ(c.label->size(), c.box.size()) << c.text;
        }
        EXPECT_EQ(c.label->wordWrap(), c.wrap) << c.text;
    }
    EXPECT_TRUE(about.Label1->font().bold());
    EXPECT_EQ(about.Label1->font().pixelSize(), 13);
    EXPECT_EQ(about.Label5->font().pixelSize(), 11);

    EXPECT_EQ(about.Bevel1->frameShape(), QFrame::HLine);
    EXPECT_EQ(about.Bevel1->geometry().topLeft(), QPoint(8, 176));
    EXPECT_EQ(about.Bevel1->width(), 369);

    EXPECT_EQ(about.Button1->text(), "OK");
    EXPECT_EQ(about.Button1->geometry(), QRect(296, 208, 73, 25));
    EXPECT_EQ(about.nextInFocusChain(), about.Button1);  // first in the tab order
}

TEST(AboutTest, OkClosesWithTheResultOk) {
    TFormAbout about;
    QTimer::singleShot(0, about.Button1, &QPushButton::click);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace vireon
