#pragma once

#include <QDialog>

class QPlainTextEdit;

// A report on screen (an archive entry's, from "Pokaż"), read only, in a fixed-pitch font
// so that its values stand in one column as on paper, with "&Zamknij". UI thread only.
class ReportViewDialog : public QDialog
{
    Q_OBJECT

public:
    ReportViewDialog(const QString& title, const QStringList& lines, QWidget* parent = nullptr);

    QPlainTextEdit* Text;
};
