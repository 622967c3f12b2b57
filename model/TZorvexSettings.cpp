#include "model/TZorvexSettings.h"

#include <cstring>

namespace {
// The factory access codes, each four digits in its 4-byte field (installer code at 76).
struct FactoryCode
{
    int offset;
    const char* digits;
};

constexpr FactoryCode kFactoryCodes[] = {
    {68, "0791"}, {72, "0812"}, {76, "9179"},  {80, "9358"},  {84, "8974"},  {88, "9246"},
    {92, "0976"}, {96, "4919"}, {100, "8387"}, {104, "8011"}, {108, "9143"},
};
} // namespace

void TZorvexSettings::Clear()
{
    Cfg.Clear();
    Comment.Clear();
}

void TZorvexSettings::LoadDefaults()
{
    Clear();

    TComment::Record record{};
    static const char factoryText[] = "Dialer MEDRA ZVX-A";
    std::memcpy(record.data(), factoryText, sizeof factoryText - 1);
    Comment.SetRecord(0, record);

    Cfg.SetByte(3, 0x6A);
    Cfg.Fill(6, 0xFF, 8); // four empty event-history entries
    Cfg.SetByte(14, 0x50);
    Cfg.Fill(16, 0xFF, 16); // both monitoring-station numbers empty
    Cfg.SetByte(39, 0x0C);
    Cfg.SetByte(47, 0x02);
    Cfg.SetByte(48, 0x04);
    for (const auto& code : kFactoryCodes)
        Cfg.SetDigits(code.digits, code.offset, 4);
    Cfg.Fill(112, 0xFF, 64); // eight empty telephone numbers
    Cfg.Fill(192, 0xFF, 64); // empty Polpager message
}
