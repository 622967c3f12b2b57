#include "editors/fields/CodeFields.h"

#include "editors/fields/FieldTableKit.h"
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
        // The field's own check: at least MinLength digits.
        if (Table().fields[i].check(codes[i]))
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

const EditorArea& CodeFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"codes", Caption, {}, {}};
        std::vector<std::string> names;
        for (int i = 0; i < Count; ++i) {
            EditorField f =
                MakeField(i == Installer ? std::string("installer") : "ku" + std::to_string(i),
                          Labels[i], fkText, Bytes(CodeOffset(i), 4));
            f.maxLength = MaxLength(i);
            f.keys = DigitKeys;
            f.secret = true;
            f.check = [](const std::string& text) -> std::optional<std::string> {
                if (text.size() < static_cast<std::size_t>(MinLength))
                    return std::string(ConstsZVX::BadData);
                return std::nullopt;
            };
            Bind<CodeFields>(
                f, [i](const CodeFields& m) { return m.codes[i]; },
                [i](CodeFields& m, const std::string& text) -> std::optional<std::string> {
                    for (int g = 0; g < Count; ++g)
                        if (g != i && m.codes[g] == text)
                            return std::string(ConstsZVX::CodesRepeated);
                    m.codes[i] = text;
                    return std::nullopt;
                });
            a.fields.push_back(std::move(f));
            if (i < Users)
                names.push_back(PlainLabelText(Labels[i]));
        }
        EditorField locks = MakeField("locked", LockLabel, fkFlags, Bytes(LocksOffset));
        locks.items = names;
        BindFlags<CodeFields>(
            locks, [](auto& m) -> auto& { return m.locked; });
        a.fields.push_back(std::move(locks));
        EditorField trc = MakeField("trc", TrcLabel, fkYesNo, {{OptionOffset, TrcBit}});
        BindYesNo<CodeFields>(
            trc, [](auto& m) -> auto& { return m.trc; });
        a.fields.push_back(std::move(trc));
        return a;
    }();
    return area;
}
