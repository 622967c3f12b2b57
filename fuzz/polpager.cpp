// The Polpager message: any 64 code bytes with any length byte decode without reading
// past the image into a text of keypad letters, digits, blanks and "?"; any text the
// message field lets the user type comes back unchanged through encoding, storing and
// decoding; and any bytes at all encode to keypad symbols only.

#include "editors/fields/PolpagerCode.h"
#include "editors/fields/PolpagerFields.h"
#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

namespace {

// What the message field accepts: the keypad's letters (typed in either case, shown in
// upper case), digits and blanks.
constexpr char kTypeable[] = " 0123456789ABCDEFGHIJKLMNOPRSTUVWXY";

bool IsOneOf(const std::string& text, const char* set)
{
    return text.find_first_not_of(set) == std::string::npos;
}

void Decode(FuzzedDataProvider& input)
{
    TCfg cfg;
    const std::vector<std::uint8_t> code =
        input.ConsumeBytes<std::uint8_t>(PolpagerCode::CodeBytes);
    cfg.WriteBytes(PolpagerCode::CodeOffset, code.data(), static_cast<int>(code.size()));
    const std::uint8_t length = input.ConsumeIntegral<std::uint8_t>();
    cfg.SetByte(PolpagerCode::LengthOffset, length);
    const std::string text = DecodeMessage(cfg);
    FUZZ_CHECK(IsOneOf(text, " ?0123456789ABCDEFGHIJKLMNOPRSTUVWXY"));
    // Every character takes at least one stored symbol.
    FUZZ_CHECK(text.size() <= length);
}

void RoundTrip(FuzzedDataProvider& input)
{
    const std::size_t size =
        input.ConsumeIntegralInRange<std::size_t>(0, PolpagerCode::MaxTextLength);
    std::string text;
    for (std::size_t i = 0; i < size && input.remaining_bytes() > 0; ++i)
        text += kTypeable[input.ConsumeIntegralInRange<std::size_t>(0, sizeof kTypeable - 2)];

    const std::string code = EncodeMessage(text);
    FUZZ_CHECK(IsOneOf(code, "0123456789*#"));

    TZorvexSettings settings;
    settings.LoadDefaults();
    const TZorvexSettings before = settings;
    PolpagerFields fields;
    fields.message = text;
    if (!fields.Store(settings)) {
        // Too long for the 128 symbols: refused, nothing written.
        FUZZ_CHECK(code.size() > PolpagerCode::MaxSymbols);
        FUZZ_CHECK(settings == before);
        return;
    }
    FUZZ_CHECK(text.empty() || code.size() <= PolpagerCode::MaxSymbols);
    FUZZ_CHECK(DecodeMessage(settings.Cfg) == text);
    // Nothing outside the message area and its length byte.
    for (int i = 0; i < TCfg::Size; ++i)
        if (i != PolpagerCode::LengthOffset && i < PolpagerCode::CodeOffset)
            FUZZ_CHECK(settings.Cfg.GetByte(i) == before.Cfg.GetByte(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Decode(input);
    RoundTrip(input);
    // Any bytes at all (not only valid UTF-8) encode to keypad symbols.
    const std::string raw = input.ConsumeRemainingBytesAsString();
    FUZZ_CHECK(IsOneOf(EncodeMessage(raw), "0123456789*#"));
    return 0;
}
