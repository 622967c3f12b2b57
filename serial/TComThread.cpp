#include "serial/TComThread.h"

#include "model/ErrorSink.h"
#include "serial/ComBackend.h"
#include "serial/EComPort.h"
#include "serial/TCustomComPort.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <vector>

// What the monitor and the owning thread share about the word being handed over. Kept
// alive by whoever still holds it: a queued call may outlive the monitor.
struct ComDelivery
{
    TCustomComPort* port = nullptr;
    ComDoorbell* doorbell = nullptr; // wakes the owning thread
    std::uint64_t generation = 0;

    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;    // Stop was called
    bool ended = false;   // the monitor thread has left its loop
    bool pending = false; // a word waits for the owning thread
    bool running = false; // the owning thread is handling a word
    bool abandon = false; // the port was closed from inside that handling
    std::uint32_t word = 0;
    std::vector<std::exception_ptr> errors; // raised on the monitor thread (smNone)
};

namespace {

std::atomic<std::uint64_t> handOvers{0};

// Takes the pending word and handles it on the owning thread; lock is held on entry
// and on return.
template <typename Handle>
void RunTaken(ComDelivery& d, std::unique_lock<std::mutex>& lock, Handle handle)
{
    const std::uint32_t word = d.word;
    d.pending = false;
    d.running = true;
    lock.unlock();
    handle(word);
    lock.lock();
    d.running = false;
    d.changed.notify_all();
}

// The fixed order in which a word's events are handled.
constexpr std::uint32_t Order[] = {ComEventBit::RxChar,  ComEventBit::TxEmpty, ComEventBit::Break,
                                   ComEventBit::Ring,    ComEventBit::CTS,     ComEventBit::DSR,
                                   ComEventBit::RxFlag,  ComEventBit::RLSD,    ComEventBit::Err,
                                   ComEventBit::Rx80Full};

} // namespace

TComThread::TComThread(TCustomComPort& port)
    : m_port(port), m_syncMethod(port.m_syncMethod), m_delivery(std::make_shared<ComDelivery>())
{
    m_delivery->port = &port;
    m_delivery->doorbell = port.m_doorbell.get();
    m_delivery->generation = port.m_openCount;

    int error = 0;
    m_waiter = port.m_backend->CreateEventWaiter(ComEventBit::MaskOf(port.m_events), error);
    if (!m_waiter)
        throw EComPort(EComPort::CodeOpen, error);
    try {
        m_thread = std::thread(&TComThread::Run, this);
    } catch (const std::system_error& e) {
        throw EComPort(EComPort::CodeOpen, e.code().value());
    }
}

TComThread::~TComThread()
{
    Stop();
    ComDelivery& d = *m_delivery;
    std::unique_lock lock(d.mutex);
    // Closing from inside a handler: the monitor must not wait for it to return.
    if (d.running) {
        d.abandon = true;
        d.changed.notify_all();
    }
    for (;;) {
        if (d.pending) {
            RunTaken(d, lock, [&d](std::uint32_t word) { ProcessReporting(d, word, true); });
            continue;
        }
        if (d.ended)
            break;
        d.changed.wait(lock);
    }
    lock.unlock();
    m_thread.join();
    ReportErrors(d);
}

void TComThread::AnswerDoorbell()
{
    const std::shared_ptr<ComDelivery> delivery = m_delivery;
    RunPending(*delivery);
    ReportErrors(*delivery);
}

void TComThread::ReportErrors(ComDelivery& d)
{
    std::vector<std::exception_ptr> errors;
    {
        std::lock_guard lock(d.mutex);
        errors.swap(d.errors);
    }
    for (const std::exception_ptr& error : errors)
        ErrorSink::Report(error);
}

void TComThread::Stop()
{
    {
        std::lock_guard lock(m_delivery->mutex);
        m_delivery->stop = true;
    }
    m_delivery->changed.notify_all();
    m_waiter->Stop();
}

std::uint64_t TComThread::HandOvers()
{
    return handOvers.load();
}

void TComThread::Run()
{
    for (;;) {
        std::uint32_t word = 0;
        if (m_waiter->Wait(word) != ComEventWaiter::Outcome::Events)
            break;
        if (word != 0)
            Deliver(word);
    }
    // Bytes nobody has read go with the monitor (fails harmlessly on a line gone away).
    m_port.m_backend->ClearQueues();
    std::lock_guard lock(m_delivery->mutex);
    m_delivery->ended = true;
    m_delivery->changed.notify_all();
}

void TComThread::Deliver(std::uint32_t word)
{
    switch (m_syncMethod) {
    case smNone:
        ProcessReporting(*m_delivery, word, false);
        break;
    case smWindowSync:
        for (std::uint32_t bit : Order)
            if (word & bit)
                HandOver(bit);
        break;
    case smThreadSync:
        HandOver(word);
        break;
    }
}

void TComThread::HandOver(std::uint32_t word)
{
    ComDelivery& d = *m_delivery;
    {
        std::lock_guard lock(d.mutex);
        if (d.stop)
            return; // closing: the bytes are discarded anyway
        d.pending = true;
        d.word = word;
    }
    handOvers.fetch_add(1);
    d.doorbell->Ring();
    std::unique_lock lock(d.mutex);
    d.changed.wait(lock, [&d] { return !d.pending && (!d.running || d.abandon); });
}

void TComThread::RunPending(ComDelivery& d)
{
    std::unique_lock lock(d.mutex);
    if (!d.pending)
        return; // Close has handled it already
    RunTaken(d, lock, [&d](std::uint32_t word) { ProcessReporting(d, word, true); });
}

void TComThread::ProcessReporting(ComDelivery& d, std::uint32_t word, bool onOwner)
{
    try {
        Process(d, word);
    } catch (...) {
        if (onOwner) {
            ErrorSink::Report(std::current_exception());
        } else {
            {
                std::lock_guard lock(d.mutex);
                d.errors.push_back(std::current_exception());
            }
            d.doorbell->Ring();
        }
    }
}

void TComThread::Process(ComDelivery& d, std::uint32_t word)
{
    TCustomComPort& port = *d.port;
    ComBackend& backend = *port.m_backend;
    const auto modem = [&backend] {
        ComModemSignals s;
        if (int error = backend.ModemStatus(s))
            throw EComPort(EComPort::CodeModemStatus, error);
        return s;
    };

    for (std::uint32_t bit : Order) {
        if (!(word & bit))
            continue;
        // A handler may have closed (and even reopened) the port: the rest of this word
        // belongs to a line that is no longer there.
        if (!port.m_connected || port.m_openCount != d.generation)
            return;
        switch (bit) {
        case ComEventBit::RxChar: {
            int count = 0;
            if (int error = backend.ReceiveCount(count))
                throw EComPort(EComPort::CodeReceiveCount, error);
            if (count > 0)
                port.NotifyRxChar(count);
            break;
        }
        case ComEventBit::TxEmpty:
            port.NotifyTxEmpty();
            break;
        case ComEventBit::Break:
            port.NotifyBreak();
            break;
        case ComEventBit::Ring:
            port.NotifyRing();
            break;
        case ComEventBit::CTS:
            port.NotifyCTSChange(modem().cts);
            break;
        case ComEventBit::DSR:
            port.NotifyDSRChange(modem().dsr);
            break;
        case ComEventBit::RxFlag:
            port.NotifyRxFlag();
            break;
        case ComEventBit::RLSD:
            port.NotifyRLSDChange(modem().rlsd);
            break;
        case ComEventBit::Err: {
            std::uint32_t flags = 0;
            if (int error = backend.TakeErrors(flags))
                throw EComPort(EComPort::CodeReceiveCount, error);
            port.NotifyError(ComErrorFlag::ToComErrors(flags, port.m_parity.Check()));
            break;
        }
        case ComEventBit::Rx80Full:
            port.NotifyRx80Full();
            break;
        }
    }
}
