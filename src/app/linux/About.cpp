#include "app/linux/About.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/AboutLayout.h"

namespace vireon {
namespace {

QFont DialogFont(int pixelSize, bool bold) {
    QFont font(QString::fromUtf8(about::Typeface));
    font.setStyleHint(QFont::SansSerif);  // the face itself is rarely installed
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QRect Rect(const about::Box& box) {
    return {box.Left, box.Top, box.Width, box.Height};
}

QLabel* MakeLabel(QWidget* parent, const about::Label& layout) {
    auto* label = new QLabel(QString::fromUtf8(layout.Text), parent);
    label->setObjectName(QString::fromUtf8(layout.Name));
    label->setFont(DialogFont(layout.PixelHeight, layout.Bold));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (layout.Place.Width == 0) {  // as wide as its text
        label->move(layout.Place.Left, layout.Place.Top);
        label->adjustSize();
    } else {
        label->setWordWrap(true);
        label->setGeometry(Rect(layout.Place));
    }
    return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QString::fromUtf8(about::Caption));
    setFont(DialogFont(11, false));
    // A fixed dialog frame: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(about::Place.Width, about::Place.Height);
    move(about::Place.Left, about::Place.Top);

    Button1 = new QPushButton(QString::fromUtf8(about::ButtonCaption), this);  // first in tab order
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(Rect(about::Button1));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    QLabel** labels[] = {&Label1, &Label5, &Label6, &Label4};
    for (std::size_t i = 0; i < std::size(labels); ++i)
        *labels[i] = MakeLabel(this, about::Labels[i]);

    // Only the top line of the bevel is drawn: a sunken horizontal rule.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(about::Bevel1.Left, about::Bevel1.Top, about::Bevel1.Width, 2);
}

}  // namespace vireon
