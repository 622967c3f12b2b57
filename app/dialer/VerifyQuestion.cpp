#include "app/dialer/VerifyQuestion.h"

#include "resources/ConstsZVX.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace {

VerifyQuestionHandler& Handler()
{
    static VerifyQuestionHandler handler;
    return handler;
}

bool MessageBoxesAnswered()
{
    TMessageHandler handler = InstallMessageHandler({});
    const bool answered = bool(handler);
    InstallMessageHandler(std::move(handler));
    return answered;
}

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

VerifyAnswer AskVerifyAfterWrite(QWidget* parent)
{
    const QString question = Text(ConstsZVX::VerifyAfterWrite);
    if (Handler())
        return Handler()(question);
    if (MessageBoxesAnswered())
        return {MessageDlg(mkConfirmation, question, mbYes | mbNo, parent) == mbYes, false};

    QMessageBox box(QMessageBox::Question, Text(ConstsZVX::TitleConfirmation), question,
                    QMessageBox::NoButton, parent ? parent : QApplication::activeWindow());
    box.setObjectName(QStringLiteral("VerifyQuestion"));
    QPushButton* yes = box.addButton(Text(ConstsZVX::ButtonYes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Text(ConstsZVX::ButtonNo), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    auto* dontAsk = new QCheckBox(Text(ConstsZVX::VerifyDontAskAgain), &box);
    box.setCheckBox(dontAsk);
    box.exec();
    return {box.clickedButton() == yes, dontAsk->isChecked()};
}

VerifyQuestionHandler InstallVerifyQuestionHandler(VerifyQuestionHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
