#pragma once

#include <QString>

#include <functional>

class QWidget;

// The question after a good write: "Zweryfikować zapis odczytem z dialera?", a
// confirmation box with "&Tak" and "&Nie" and the check box "Nie pytaj ponownie".
struct VerifyAnswer
{
    bool verify = false;       // "&Tak"
    bool dontAskAgain = false; // the check box was ticked
};

// Shows the question modally over parent. Escape or closing the box answers "&Nie".
// Tests answer it through InstallVerifyQuestionHandler; while no such handler is there
// but message boxes are being answered (MessageBoxRecorder), the question goes to them
// as a plain confirmation with "&Tak" and "&Nie", the check box left clear.
// UI thread only.
VerifyAnswer AskVerifyAfterWrite(QWidget* parent);

using VerifyQuestionHandler = std::function<VerifyAnswer(const QString& question)>;
// Returns the previous handler; an empty handler restores the real question.
VerifyQuestionHandler InstallVerifyQuestionHandler(VerifyQuestionHandler handler);
