#include "editors/PolpagerFields.h"

#include "editors/PhonesFields.h"
#include "editors/PolpagerCode.h"

using namespace PolpagerCode;

namespace {

std::string StationLine(const TCfg& cfg, int offset)
{
    const int n = cfg.GetByte(offset);
    if (n < 1 || n > 8)
        return PolpagerFields::Undefined;
    std::string number;
    cfg.GetDigits(PhonesFields::NumberOffset(n - 1), 8, number, true);
    return "(" + std::to_string(n) + ")  " + (number.empty() ? PolpagerFields::Undefined : number);
}

} // namespace

PolpagerFields PolpagerFields::Load(const TZorvexSettings& settings)
{
    const TCfg& cfg = settings.Cfg;
    PolpagerFields f;
    f.station1 = StationLine(cfg, 56);
    f.station2 = StationLine(cfg, 66);
    if (cfg.GetByte(LengthOffset) != 1)
        f.message = DecodeMessage(cfg);
    return f;
}

bool PolpagerFields::Store(TZorvexSettings& settings) const
{
    TCfg& cfg = settings.Cfg;
    if (message.empty()) {
        cfg.Fill(CodeOffset, 0xFF, CodeBytes);
        cfg.SetByte(LengthOffset, 0);
        return true;
    }
    const std::string code = EncodeMessage(message);
    if (code.size() > static_cast<std::size_t>(MaxSymbols))
        return false;
    cfg.SetDigits(code, CodeOffset, CodeBytes);
    cfg.SetByte(LengthOffset, static_cast<std::uint8_t>(code.size()));
    return true;
}
