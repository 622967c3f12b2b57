#pragma once

#include "emulator/DialerImage.h"
#include "emulator/DialerResponder.h"
#include "emulator/FrameParser.h"
#include "emulator/PseudoTerminal.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>

#include <functional>
#include <unistd.h>

// A dialer for the faults the emulated dialer does not make: garbage on the line, replies
// longer than asked, answers that do not fit the question. It answers every frame as the
// dialer would (same parser and responder as the emulated dialer) and lets a script bend
// each answer before it goes out in one piece.
//
// Runs on the thread that creates it, through that thread's event loop; the link under
// test lives there too and the pseudo-terminal never blocks either side.
class ScriptedDialer
{
public:
    // number counts frames from 1; reply is what the dialer would send. The result goes
    // on the line as one write (empty: no answer).
    using Script =
        std::function<QByteArray(int number, const DialerFrame& frame, const QByteArray& reply)>;

    explicit ScriptedDialer(Script script)
        : m_script(std::move(script)), m_notifier(m_pty.MasterFd(), QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { Take(); });
    }

    QString Path() const { return QString::fromStdString(m_pty.SlavePath()); }
    // Puts bytes on the line now, unasked: before the PC opens the port they wait for it.
    void Put(const QByteArray& bytes)
    {
        if (write(m_pty.MasterFd(), bytes.constData(), size_t(bytes.size())) != bytes.size())
            qFatal("the scripted dialer could not put bytes on the line");
    }
    const TCfg& Image() const { return m_image; }
    int Frames() const { return m_frames; }

private:
    void Take()
    {
        std::uint8_t buffer[256];
        ssize_t count;
        while ((count = read(m_pty.MasterFd(), buffer, sizeof buffer)) > 0) {
            for (ssize_t i = 0; i < count; ++i) {
                const auto frame = m_parser.Feed(buffer[i]);
                if (!frame)
                    continue;
                const DialerReply reply = Respond(*frame, ++m_frames, DialerFaults{}, m_image);
                const QByteArray answer =
                    m_script(m_frames, *frame,
                             QByteArray(reinterpret_cast<const char*>(reply.bytes.data()),
                                        static_cast<qsizetype>(reply.bytes.size())));
                if (!answer.isEmpty() && write(m_pty.MasterFd(), answer.constData(),
                                               size_t(answer.size())) != answer.size())
                    qFatal("the scripted dialer could not answer");
            }
        }
    }

    Script m_script;
    PseudoTerminal m_pty;
    FrameParser m_parser;
    TCfg m_image = DefaultDialerImage();
    int m_frames = 0;
    QSocketNotifier m_notifier;
};
