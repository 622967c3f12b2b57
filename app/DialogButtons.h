#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

// The right-aligned row of a small dialog's two buttons: BitBtn1 (okText, the default
// button, accepts) and BitBtn2 "&Anuluj" (rejects), named as the dialogs name them.
QHBoxLayout* OkCancelRow(QDialog* dialog, const QString& okText, QPushButton*& ok,
                         QPushButton*& cancel);
