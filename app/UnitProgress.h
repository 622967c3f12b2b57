#pragma once

#include "model/ConfigEvent.h"

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
    // shows the transfer text (the confirmation's, while confirming), the percentage and
    // the bar.
    void TransferProgress(int percent);
    // OnTransferConfirm: the exchange resent a frame and now checks the dialer's image;
    // the message line says so (for a write or a read) until the exchange ends, the
    // percentage is blank and the bar 0 until the confirming read reports.
    void TransferConfirm(ConfigEvent event);
    // OnTransferEnd: hidden, animation stopped, a normal window again.
    void TransferEnd();

    QLabel* Label1;
    QLabel* Label2;
    CopyAnimation* Animate1;
    QProgressBar* ProgressBar1;

private:
    void SetStayOnTop(bool on);

    const char* m_transferText = nullptr; // the message line while data moves
};
