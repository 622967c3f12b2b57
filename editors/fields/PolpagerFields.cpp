#include "editors/fields/PolpagerFields.h"

#include "editors/fields/FieldTableKit.h"
#include "editors/fields/PhonesFields.h"
#include "editors/fields/PolpagerCode.h"

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

const EditorArea& PolpagerFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"polpager", Caption, {}, {}};
        EditorField station1 = MakeField("station1", Station1Label, fkDisplay, {});
        BindDisplay(station1, [](const TZorvexSettings& s) { return Load(s).station1; });
        EditorField station2 = MakeField("station2", Station2Label, fkDisplay, {});
        BindDisplay(station2, [](const TZorvexSettings& s) { return Load(s).station2; });
        std::vector<OwnedBits> owned = Bytes(LengthOffset);
        for (const OwnedBits& b : Bytes(CodeOffset, CodeBytes))
            owned.push_back(b);
        EditorField message = MakeField("message", MessageLabel, fkText, owned);
        message.maxLength = MaxTextLength;
        message.keys = std::string(" ") + DigitKeys + Alphabet;
        message.upperCase = true;
        message.check = [](const std::string& text) -> std::optional<std::string> {
            if (text.empty() || EncodeMessage(text).size() <= std::size_t(MaxSymbols))
                return std::nullopt;
            return std::string(ConstsZVX::PolpagerTooLong);
        };
        BindText<PolpagerFields>(
            message, [](auto& m) -> auto& { return m.message; });
        a.fields = {std::move(station1), std::move(station2), std::move(message)};
        return a;
    }();
    return area;
}
