#include "editors/CodeFields.h"

#include "model/Cp1250.h"
#include "resources/ConstsZVX.h"

namespace {

constexpr int LocksOffset = 59;
constexpr int OptionOffset = 44;
constexpr std::uint8_t TrcBit = 0x04;

} // namespace

CodeFields CodeFields::Load(const TZorvexSettings& settings)
{
    const TCfg& cfg = settings.Cfg;
    CodeFields f;
    for (int i = 0; i < Count; ++i)
        cfg.GetDigits(CodeOffset(i), 4, f.codes[i], true);
    const std::uint8_t locks = cfg.GetByte(LocksOffset);
    for (int k = 0; k < Users; ++k)
        f.locked[k] = (locks >> k) & 1;
    f.trc = (cfg.GetByte(OptionOffset) & TrcBit) ? 1 : 0;
    return f;
}

std::optional<CodeFields::Failure> CodeFields::Check() const
{
    for (int i = 0; i < Count; ++i) {
        if (codes[i].size() < static_cast<std::size_t>(MinLength))
            return Failure{ConstsZVX::BadData, i};
        for (int g = 0; g < Count; ++g)
            if (g != i && codes[g] == codes[i])
                return Failure{ConstsZVX::CodesRepeated, g};
    }
    return std::nullopt;
}

void CodeFields::Store(TZorvexSettings& settings) const
{
    TCfg& cfg = settings.Cfg;
    for (int i = 0; i < Count; ++i)
        cfg.SetDigits(Utf8ToCp1250(codes[i]), CodeOffset(i), 4);
    std::uint8_t locks = 0;
    for (int k = 0; k < Users; ++k)
        if (locked[k])
            locks |= static_cast<std::uint8_t>(1u << k);
    cfg.SetByte(LocksOffset, locks);
    std::uint8_t option = cfg.GetByte(OptionOffset);
    option = trc > 0 ? option | TrcBit : option & ~TrcBit;
    cfg.SetByte(OptionOffset, option);
}
