#include "editors/ConfigFields.h"

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
