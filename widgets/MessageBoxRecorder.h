#pragma once

#include "widgets/MessageBox.h"

#include <QList>
#include <QQueue>

#include <functional>

// Test helper: while one exists, no real message box is shown. Each box is recorded and
// answered with the next preset answer; with none left it gets its default button
// (Yes or OK, what Enter would press). Restores the previous handler when destroyed,
// so recorders nest.
//
//     MessageBoxRecorder boxes;
//     boxes.Answer(mbCancel);
//     window.confirmWrite();
//     QCOMPARE(boxes.Count(), 1);
//     QCOMPARE(boxes.Last().text, "Czy zapisać konfigurację do Dialera?");
class MessageBoxRecorder
{
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Queues the answer for the next box not yet answered.
    void Answer(TMsgButton answer);
    // Called for each box as it is shown, before it is answered (to look at the
    // program's state at that moment).
    void OnShow(std::function<void(const TMessageRequest&)> callback);

    const QList<TMessageRequest>& Shown() const { return m_shown; }
    int Count() const { return int(m_shown.size()); }
    // The last box shown; only when Count() > 0.
    const TMessageRequest& Last() const { return m_shown.last(); }
    // Texts of all boxes shown, in order.
    QStringList Texts() const;
    int PendingAnswers() const { return int(m_answers.size()); }
    void Clear();

private:
    TMsgButton Handle(const TMessageRequest& request);

    QList<TMessageRequest> m_shown;
    QQueue<TMsgButton> m_answers;
    std::function<void(const TMessageRequest&)> m_onShow;
    TMessageHandler m_previous;
};
