#include "widgets/Glyphs.h"

namespace Glyphs {

QString Path(int index)
{
    return QStringLiteral(":/glyphs/%1.png").arg(index, 2, 10, QLatin1Char('0'));
}

QIcon Icon(int index)
{
    if (index < 0 || index >= kCount)
        return {};
    return QIcon(Path(index));
}

} // namespace Glyphs
