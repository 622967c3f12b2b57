#include "editors/fields/AreaCopy.h"

#include "model/TZorvexSettings.h"

void CopyAreas(const TZorvexSettings& from, TZorvexSettings& to,
               const std::vector<const EditorArea*>& areas)
{
    for (const EditorArea* area : areas) {
        const std::array<std::uint8_t, 256> mask = area->OwnedMask();
        for (int i = 1; i < TCfg::Size; ++i)
            if (mask[i])
                to.Cfg.SetByte(i, static_cast<std::uint8_t>((to.Cfg.GetByte(i) & ~mask[i]) |
                                                            (from.Cfg.GetByte(i) & mask[i])));
        for (const EditorField& field : area->fields)
            if (field.record >= 0) {
                TComment::Record record;
                from.Comment.GetRecord(field.record, record);
                to.Comment.SetRecord(field.record, record);
            }
    }
}
