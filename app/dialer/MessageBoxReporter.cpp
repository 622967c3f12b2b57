#include "app/dialer/MessageBoxReporter.h"

#include "widgets/MessageBox.h"

void MessageBoxReporter::Information(const QString& text)
{
    MessageDlg(mkInformation, text, mbOk, m_parent);
}

void MessageBoxReporter::Error(const QString& text)
{
    MessageDlg(mkError, text, mbOk, m_parent);
}

bool MessageBoxReporter::Confirm(const QString& text)
{
    return MessageDlg(mkConfirmation, text, mbOk | mbCancel, m_parent) == mbOk;
}
