#include "widgets/MessageBox.h"

#include "resources/ConstsZVX.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace {

TMessageHandler& Handler()
{
    static TMessageHandler handler;
    return handler;
}

struct ButtonInfo
{
    TMsgButton button;
    const char* caption;
    QMessageBox::ButtonRole role;
};

// Shown in this order, as the Windows tool did.
constexpr ButtonInfo kButtons[] = {
    {mbYes, ConstsZVX::ButtonYes, QMessageBox::YesRole},
    {mbNo, ConstsZVX::ButtonNo, QMessageBox::NoRole},
    {mbOk, ConstsZVX::ButtonOk, QMessageBox::AcceptRole},
    {mbCancel, ConstsZVX::ButtonCancel, QMessageBox::RejectRole},
};

TMsgButtons Normalised(TMsgButtons buttons)
{
    buttons &= mbYes | mbNo | mbOk | mbCancel;
    return buttons == mbNone ? TMsgButtons(mbOk) : buttons;
}

TMsgButton EscapeAnswer(TMsgButtons buttons)
{
    for (TMsgButton b : {mbCancel, mbNo, mbOk})
        if (buttons & b)
            return b;
    return mbYes;
}

QMessageBox::Icon IconOf(TMsgKind kind)
{
    switch (kind) {
    case mkInformation:
        return QMessageBox::Information;
    case mkConfirmation:
        return QMessageBox::Question;
    case mkError:
    case mkProgram:
        break;
    }
    return QMessageBox::Critical;
}

TMsgButton ShowReal(const TMessageRequest& request, QWidget* parent)
{
    QMessageBox box(IconOf(request.kind), request.title, request.text, QMessageBox::NoButton,
                    parent ? parent : QApplication::activeWindow());
    if (!request.details.isEmpty())
        box.setDetailedText(request.details);
    const TMsgButton escape = EscapeAnswer(request.buttons);
    QAbstractButton* escapeButton = nullptr;
    bool first = true;
    for (const ButtonInfo& info : kButtons) {
        if (!(request.buttons & info.button))
            continue;
        QPushButton* button = box.addButton(QString::fromUtf8(info.caption), info.role);
        button->setProperty("zvxAnswer", unsigned(info.button));
        if (first)
            box.setDefaultButton(button);
        first = false;
        if (info.button == escape)
            escapeButton = button;
    }
    box.setEscapeButton(escapeButton);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? TMsgButton(clicked->property("zvxAnswer").toUInt()) : escape;
}

} // namespace

TMessageRequest DescribeMessage(TMsgKind kind, const QString& text, TMsgButtons buttons)
{
    TMessageRequest request;
    request.kind = kind;
    request.text = text;
    request.buttons = Normalised(buttons);
    switch (kind) {
    case mkInformation:
        request.title = QString::fromUtf8(ConstsZVX::TitleInformation);
        break;
    case mkError:
        request.title = QString::fromUtf8(ConstsZVX::TitleError);
        break;
    case mkConfirmation:
        request.title = QString::fromUtf8(ConstsZVX::TitleConfirmation);
        break;
    case mkProgram:
        request.title = QString::fromUtf8(ConstsZVX::TitleProgram);
        break;
    }
    for (const ButtonInfo& info : kButtons)
        if (request.buttons & info.button)
            request.captions << QString::fromUtf8(info.caption);
    return request;
}

TMsgButton MessageDlg(TMsgKind kind, const QString& text, TMsgButtons buttons, QWidget* parent)
{
    return MessageDlg(kind, text, QString(), buttons, parent);
}

TMsgButton MessageDlg(TMsgKind kind, const QString& text, const QString& details,
                      TMsgButtons buttons, QWidget* parent)
{
    TMessageRequest request = DescribeMessage(kind, text, buttons);
    request.details = details;
    if (Handler())
        return Handler()(request);
    return ShowReal(request, parent);
}

void ShowMessage(const QString& text, QWidget* parent)
{
    MessageDlg(mkInformation, text, mbOk, parent);
}

TMessageHandler InstallMessageHandler(TMessageHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
