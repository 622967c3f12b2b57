#include "app/WindowReporter.h"

#include "widgets/MessageBox.h"

void WindowReporter::Information(const QString& text)
{
    MessageDlg(mkInformation, text, mbOk, m_parent);
    if (OnInformation)
        OnInformation(text);
}

void WindowReporter::Error(const QString& text)
{
    MessageDlg(mkError, text, mbOk, m_parent);
}

bool WindowReporter::Confirm(const QString& text)
{
    LastConfirmed = MessageDlg(mkConfirmation, text, mbOk | mbCancel, m_parent) == mbOk;
    return LastConfirmed;
}
