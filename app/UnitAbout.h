#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "O programie": the program's name and version, the vendor's logo, address and links.
// UI thread only.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Open the vendor's web page and a new mail to the vendor; the box stays open.
    void Label1Click();
    void Label2Click();

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* OKButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
