#include "widgets/MessageBoxRecorder.h"

#include <utility>

MessageBoxRecorder::MessageBoxRecorder()
    : m_previous(
          InstallMessageHandler([this](const TMessageRequest& request) { return Handle(request); }))
{}

MessageBoxRecorder::~MessageBoxRecorder()
{
    InstallMessageHandler(std::move(m_previous));
}

void MessageBoxRecorder::Answer(TMsgButton answer)
{
    m_answers.enqueue(answer);
}

void MessageBoxRecorder::OnShow(std::function<void(const TMessageRequest&)> callback)
{
    m_onShow = std::move(callback);
}

QStringList MessageBoxRecorder::Texts() const
{
    QStringList texts;
    for (const TMessageRequest& request : m_shown)
        texts << request.text;
    return texts;
}

void MessageBoxRecorder::Clear()
{
    m_shown.clear();
    m_answers.clear();
}

TMsgButton MessageBoxRecorder::Handle(const TMessageRequest& request)
{
    m_shown.append(request);
    if (m_onShow)
        m_onShow(request);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    // What Enter would press: the first button shown.
    for (TMsgButton b : {mbYes, mbNo, mbOk, mbCancel})
        if (request.buttons & b)
            return b;
    return mbOk;
}
