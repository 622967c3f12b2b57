#include "serial/ComBackend.h"

namespace ComEventBit {

std::uint32_t MaskOf(TComEvents events)
{
    static constexpr std::uint32_t Bits[TComEvents::Size] = {
        RxChar, TxEmpty, RxFlag, Ring, Break, CTS, DSR, Err, RLSD, Rx80Full};
    std::uint32_t mask = 0;
    for (int i = 0; i < TComEvents::Size; ++i)
        if (events.Contains(TComEvent(i)))
            mask |= Bits[i];
    return mask;
}

} // namespace ComEventBit

namespace ComErrorFlag {

TComErrors ToComErrors(std::uint32_t flags, bool parityCheck)
{
    TComErrors errors;
    if (flags & Frame)
        errors.Include(erFrame);
    if ((flags & RxParity) && parityCheck)
        errors.Include(erParity);
    if (flags & Overrun)
        errors.Include(erOverrun);
    if (flags & Break)
        errors.Include(erBreak);
    if (flags & IOE)
        errors.Include(erIO);
    if (flags & Mode)
        errors.Include(erMode);
    if (flags & RxOver)
        errors.Include(erRxOver);
    if (flags & TxFull)
        errors.Include(erTxFull);
    return errors;
}

} // namespace ComErrorFlag
