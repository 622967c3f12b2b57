#pragma once

#include "editors/fields/AlarmInFields.h"
#include "editors/fields/CodeFields.h"
#include "editors/fields/ConfigFields.h"
#include "editors/fields/DelayFields.h"
#include "editors/fields/EventCodeFields.h"
#include "editors/fields/PhonesFields.h"
#include "editors/fields/PolpagerFields.h"
#include "editors/fields/StationFields.h"
#include "model/TZorvexSettings.h"

#include <QStringList>

// A configuration an installer might hand over: two phone numbers with their locks, a
// Polpager message, eleven access codes, an alarm input, a station with format 14, some
// history, and a description with Polish letters. Built through the mappings, as the
// dialogs would store it.
namespace ReportSample {

inline const QStringList Codes{"4711",  "58230", "690134", "7812", "83456",   "91827364",
                               "13579", "24680", "3141",   "2718", "97531246"};

inline TZorvexSettings Settings()
{
    TZorvexSettings s;
    s.LoadDefaults();

    PhonesFields phones = PhonesFields::Load(s);
    phones.numbers[0] = "0221234567";
    phones.numbers[7] = "12B";
    phones.locked.fill(false);
    phones.locked[0] = phones.locked[7] = true;
    phones.station1 = 0;
    phones.station2 = PhonesFields::NoStation;
    phones.Store(s);

    PolpagerFields polpager = PolpagerFields::Load(s);
    polpager.message = "ALARM 1";
    (void)polpager.Store(s);

    CodeFields codes = CodeFields::Load(s);
    for (int i = 0; i < CodeFields::Count; ++i)
        codes.codes[i] = Codes[i].toStdString();
    codes.locked.fill(false);
    codes.locked[0] = codes.locked[3] = true;
    codes.trc = 1;
    codes.Store(s);

    AlarmInFields inputs = AlarmInFields::Load(s);
    inputs.lines[0] = {AlarmInFields::fnAlarm, true, true};
    inputs.Store(s);

    StationFields stations = StationFields::Load(s);
    stations.numbers[0] = "582107";
    stations.subscribers[0] = "6060";
    stations.formats[0] = 14;
    stations.mode = 4;
    stations.Store(s);

    EventCodeFields events = EventCodeFields::Load(s);
    events.codes[0] = "3A";
    events.hour = 7;
    events.minute = 30;
    events.Store(s);

    DelayFields delays = DelayFields::Load(s);
    delays.delays = {"30", "5", "60"};
    delays.Store(s);

    // History: alarm at 21:05, line never cut, a minute byte that is not BCD.
    s.Cfg.SetByte(12, 0x21);
    s.Cfg.SetByte(13, 0x05);
    s.Cfg.SetByte(10, 0xFF);
    s.Cfg.SetByte(11, 0x30);
    s.Cfg.SetByte(6, 0x00);
    s.Cfg.SetByte(7, 0xFF);

    ConfigFields description;
    description.texts[0] = "Sklep „Pod Lipą” Żółć";
    description.texts[2] = "90-001 Łódź, ul. Ściegiennego 5";
    description.texts[5] = "Czujki: ruch, dym";
    description.Store(s);
    return s;
}

} // namespace ReportSample
