#pragma once

#include "model/Exception.h"

// An image offset or record index outside its bounds.
class ERangeError : public Exception
{
public:
    using Exception::Exception;

    // "Index %d poza prawidłowym zakresem: %d..%d"
    static ERangeError Index(int index, int low, int high);
    // "Index + Count %d poza prawidłowym zakresem: %d..%d"
    static ERangeError IndexPlusCount(int last, int low, int high);
};
