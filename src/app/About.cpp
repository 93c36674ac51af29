#include "app/About.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace vireon {
namespace {

QFont DialogFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);  // the face itself is rarely installed
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect box, bool wrap) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(DialogFont(11, false));
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(box);
    return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About OKAVEN Vireon"));
    setFont(DialogFont(11, false));
    // A fixed dialog frame: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(387, 249);
    move(142, 79);

    Button1 = new QPushButton(QStringLiteral("OK"), this);  // first in the tab order
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(296, 208, 73, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    Label1 = new QLabel(QStringLiteral("OKAVEN Vireon"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(DialogFont(13, true));
    Label1->move(80, 16);
    Label1->adjustSize();

    Label5 =
        MakeLabel(this, "Label5", "Version 0.1 released on 25-dec-99", {80, 40, 209, 17}, true);
    Label6 = MakeLabel(this, "Label6",
                       "Accurate frequency spectrum analyzer in the range 0 - 2500 Hz. "
                       "Requires a powerful PC",
                       {80, 64, 213, 26}, true);

    // Only the top line of the bevel is drawn: a sunken horizontal rule.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 176, 369, 2);

    Label4 = MakeLabel(this, "Label4",
                       "For radio amateur use only. Commercial or militar use strictly "
                       "prohibited.",
                       {80, 192, 199, 26}, true);
}

}  // namespace vireon
