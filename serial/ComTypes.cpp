#include "serial/ComTypes.h"

#include <iterator>

int BaudRateValue(TBaudRate rate)
{
    static constexpr int Rates[] = {110,   300,   600,   1200,  2400,   4800,   9600,   14400,
                                    19200, 38400, 56000, 57600, 115200, 128000, 256000, 1339};
    const int index = int(rate);
    return index >= 0 && index < int(std::size(Rates)) ? Rates[index] : Rates[br9600];
}
