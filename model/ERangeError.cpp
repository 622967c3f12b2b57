#include "model/ERangeError.h"

#include "resources/ConstsZVX.h"

#include <cstdio>

namespace {
std::string Format(const char* pattern, int a, int b, int c)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}
} // namespace

ERangeError ERangeError::Index(int index, int low, int high)
{
    return ERangeError(Format(ConstsZVX::RangeIndex, index, low, high));
}

ERangeError ERangeError::IndexPlusCount(int last, int low, int high)
{
    return ERangeError(Format(ConstsZVX::RangeIndexPlusCount, last, low, high));
}
