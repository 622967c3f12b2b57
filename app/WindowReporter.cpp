#include "app/WindowReporter.h"

#include "widgets/MessageBox.h"

void WindowReporter::Information(const QString& text)
{
    MessageDlg(mkInformation, text, mbOk, m_parent);
}

void WindowReporter::Error(const QString& text)
{
    MessageDlg(mkError, text, mbOk, m_parent);
}

bool WindowReporter::Confirm(const QString& text)
{
    return MessageDlg(mkConfirmation, text, mbOk | mbCancel, m_parent) == mbOk;
}
