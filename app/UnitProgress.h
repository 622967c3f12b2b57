#pragma once

#include <QWidget>

class CopyAnimation;
class QLabel;
class QProgressBar;

// The window that shows an exchange with the dialer is running: a message line, the
// percentage, the copy animation and a bar. Driven only by the dialer link's three
// events (through the main window). It never blocks the main window.
//
// UI thread only.
class TFormProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TFormProgress(QWidget* parent = nullptr);

    // OnTransferStart: stay on top, animation running, "Proszę czekać, trwa łączenie z
    // Dialerem... ", no percentage, bar 0, shown (not modal).
    void TransferStart();
    // OnTransferProgress: -1 changes only the message line to the retry text; 0..100
    // shows the transfer text, the percentage and the bar.
    void TransferProgress(int percent);
    // OnTransferEnd: hidden, animation stopped, a normal window again.
    void TransferEnd();

    QLabel* Label1;
    QLabel* Label2;
    CopyAnimation* Animate1;
    QProgressBar* ProgressBar1;

private:
    void SetStayOnTop(bool on);
};
