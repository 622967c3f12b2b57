#include "editors/fields/ConfigFields.h"

#include "editors/fields/FieldTableKit.h"
#include "model/Cp1250.h"
#include "model/TZorvexSettings.h"

ConfigFields ConfigFields::Load(const TZorvexSettings& settings)
{
    ConfigFields f;
    for (int i = 0; i < Count; ++i)
        f.texts[i] = Cp1250ToUtf8(settings.Comment.GetText(i));
    return f;
}

void ConfigFields::Store(TZorvexSettings& settings) const
{
    for (int i = 0; i < Count; ++i)
        settings.Comment.SetText(i, Utf8ToCp1250(texts[i]));
}

const EditorArea& ConfigFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"description", Caption, {}, {}};
        for (int i = 0; i < Count; ++i) {
            std::string key;
            const char* label = "";
            if (i < AddressRecord) {
                key = "objectName";
                label = NameLabel;
            } else if (i < DescriptionRecord) {
                key = "address" + std::to_string(i - AddressRecord + 1);
                label = i == AddressRecord ? AddressLabel : "";
            } else {
                key = "description" + std::to_string(i - DescriptionRecord + 1);
                label = i == DescriptionRecord ? DescriptionLabel : "";
            }
            EditorField f = MakeField(key, label, fkText, {});
            f.maxLength = MaxLength;
            f.record = i;
            BindText<ConfigFields>(
                f, [i](auto& m) -> auto& { return m.texts[i]; });
            a.fields.push_back(std::move(f));
        }
        return a;
    }();
    return area;
}
