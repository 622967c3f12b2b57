#include "emulator/DialerFaults.h"

#include <optional>

namespace {

constexpr int kMaxNumber = 1000000;

std::optional<int> ParseNumber(const std::string& text, int low)
{
    if (text.empty() || text.size() > 7)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > kMaxNumber)
        return std::nullopt;
    return value;
}

} // namespace

bool AddFault(DialerFaults& faults, const std::string& text)
{
    const auto equals = text.find('=');
    const std::string name = text.substr(0, equals);
    if (equals == std::string::npos) {
        if (name == "silent")
            faults.silent = true;
        else if (name == "bad-block")
            faults.badBlock = true;
        else if (name == "bad-image")
            faults.badImage = true;
        else if (name == "zeros")
            faults.zeros = true;
        else if (name == "noise")
            faults.noise = true;
        else
            return false;
        return true;
    }
    const std::string value = text.substr(equals + 1);
    const int low = name == "cut" ? 0 : 1;
    const std::optional<int> number = ParseNumber(value, low);
    if (!number)
        return false;
    if (name == "silent-frame")
        faults.silentFrames.insert(*number);
    else if (name == "nak-frame")
        faults.nakFrames.insert(*number);
    else if (name == "hangup-frame")
        faults.hangUpFrame = *number;
    else if (name == "cut")
        faults.cutAfter = *number;
    else if (name == "chunks")
        faults.chunkSize = *number;
    else if (name == "late-frame")
        faults.lateFrames.insert(*number);
    else if (name == "late-ms")
        faults.lateMs = *number;
    else
        return false;
    return true;
}

const char* FaultUsage()
{
    return "    silent            nie odpowiada na nic\n"
           "    silent-frame=N    nie odpowiada na ramkę N (ramki liczone od 1 od startu)\n"
           "    nak-frame=N       odpowiada 34 na ramkę N\n"
           "    hangup-frame=N    zamyka linię zamiast odpowiedzieć na ramkę N\n"
           "    bad-block         błędna suma kontrolna każdego bloku danych\n"
           "    bad-image         błędna suma kontrolna odczytywanej konfiguracji\n"
           "    cut=K             wysyła tylko K pierwszych bajtów każdej odpowiedzi\n"
           "    chunks=N          wysyła odpowiedzi kawałkami po N bajtów\n"
           "    late-frame=N      odpowiada na ramkę N z opóźnieniem (late-ms)\n"
           "    late-ms=T         opóźnienie spóźnionej odpowiedzi w ms (domyślnie 3300)\n"
           "    zeros             linia w stanie BREAK: nic nie dociera, same bajty 00\n"
           "    noise             szum na linii: nic nie dociera, przypadkowe bajty\n";
}
