#pragma once
// The About dialog: made once, hidden, and shown modally on every About command.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace vireon {

class TFormAbout final : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label6;
    QFrame* Bevel1;
    QLabel* Label4;
    QPushButton* Button1;
};

}  // namespace vireon
