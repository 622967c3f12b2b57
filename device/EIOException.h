#pragma once

#include "model/Exception.h"

// A configuration file could not be saved or loaded; the message says which
// ("Błąd zapisu pliku", "Nieprawidłowy format pliku", ...).
class EIOException : public Exception
{
public:
    using Exception::Exception;
};
