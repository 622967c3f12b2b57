// Writing any text into any field of any configuration, as "zvx set" will: a refused
// text leaves the configuration as it was; an accepted one changes no image bit but the
// field's own (and no description record but its own), leaves every other field of the
// dialog reading as before, and what it then shows writes back without a change (after at
// most one more write, where a stored F cut the text).

#include "editors/fields/EditorAreas.h"
#include "fuzz/FuzzCheck.h"
#include "model/TZorvexSettings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

bool SameRecords(const TComment& a, const TComment& b, int except)
{
    for (int i = 0; i < TComment::Count; ++i) {
        TComment::Record x;
        TComment::Record y;
        a.GetRecord(i, x);
        b.GetRecord(i, y);
        if (i != except && x != y)
            return false;
    }
    return true;
}

bool Same(const TZorvexSettings& a, const TZorvexSettings& b)
{
    return a.Cfg == b.Cfg && SameRecords(a.Comment, b.Comment, -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    std::vector<const EditorField*> fields;
    std::vector<const EditorArea*> areas;
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& field : area->fields) {
            fields.push_back(&field);
            areas.push_back(area);
        }
    const std::size_t pick = input.ConsumeIntegralInRange<std::size_t>(0, fields.size() - 1);
    const EditorField& field = *fields[pick];
    const EditorArea& area = *areas[pick];

    TZorvexSettings start;
    const std::vector<std::uint8_t> image = input.ConsumeBytes<std::uint8_t>(TCfg::Size);
    start.Cfg.WriteBytes(0, image.data(), static_cast<int>(image.size()));
    if (field.record >= 0) {
        TComment::Record record{};
        const std::vector<std::uint8_t> bytes =
            input.ConsumeBytes<std::uint8_t>(TComment::RecordSize);
        std::copy(bytes.begin(), bytes.end(), record.begin());
        start.Comment.SetRecord(field.record, record);
    }
    // Half the time a text the field could show, else any bytes.
    std::string text =
        input.ConsumeBool() && !field.items.empty()
            ? field.items[input.ConsumeIntegralInRange<std::size_t>(0, field.items.size() - 1)]
            : input.ConsumeRemainingBytesAsString();

    TZorvexSettings s = start;
    if (field.write(s, text)) {
        FUZZ_CHECK(Same(s, start));
        return 0;
    }
    std::array<std::uint8_t, 256> mask{};
    for (const OwnedBits& bits : field.owned)
        mask[bits.offset] |= bits.mask;
    for (int i = 0; i < TCfg::Size; ++i)
        FUZZ_CHECK(((s.Cfg.GetByte(i) ^ start.Cfg.GetByte(i)) & ~mask[i]) == 0);
    FUZZ_CHECK(SameRecords(s.Comment, start.Comment, field.record));
    for (const EditorField& other : area.fields)
        if (&other != &field)
            FUZZ_CHECK(other.read(s) == other.read(start));
    // Writing what the field now shows changes nothing, or (a text that brought in an F,
    // which ends a number when shown) is refused as the dialog refuses it, or settles
    // after one more write.
    TZorvexSettings again = s;
    if (field.write(again, field.read(s))) {
        FUZZ_CHECK(Same(again, s));
        return 0;
    }
    TZorvexSettings third = again;
    FUZZ_CHECK(!field.write(third, field.read(again)));
    FUZZ_CHECK(Same(third, again));
    return 0;
}
