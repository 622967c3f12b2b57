#include "report/AreaSections.h"

#include "editors/AlarmInFields.h"
#include "editors/AlarmOutFields.h"
#include "editors/CodeFields.h"
#include "editors/ConfigFields.h"
#include "editors/DelayFields.h"
#include "editors/EventCodeFields.h"
#include "editors/HistoryFields.h"
#include "editors/PhoneParamFields.h"
#include "editors/PhonesFields.h"
#include "editors/PolpagerFields.h"
#include "editors/StationFields.h"
#include "editors/SystemOptionsFields.h"
#include "editors/YesNo.h"
#include "resources/ConstsZVX.h"

#include <QStringList>

#include <string>

namespace {

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The item text a list or a radio group shows; nothing for no selection.
template <class Items> QString ItemText(const Items& items, int index)
{
    return index >= 0 && index < int(std::size(items)) ? Text(items[index]) : QString();
}

ReportRow Field(const QString& key, const char* label, const QString& value,
                const char* note = nullptr)
{
    return {ReportRow::rkField, key, PlainLabel(label), value, note ? Text(note) : QString()};
}

ReportRow Group(const char* caption)
{
    return {ReportRow::rkGroup, QString(), PlainLabel(caption), QString(), QString()};
}

ReportSection Section(const char* key, const char* caption)
{
    return {Text(key), Text(caption), {}};
}

// The "Zakaz programowania" column as one line: the names of the rows whose box is
// ticked, "brak" when none is.
template <class Flags, class Labels> QString Locks(const Flags& flags, const Labels& labels)
{
    QStringList names;
    for (std::size_t i = 0; i < std::size(flags); ++i)
        if (flags[i])
            names << PlainLabel(labels[i]);
    return names.isEmpty() ? Text(ConstsZVX::ReportNone) : names.join(QStringLiteral(", "));
}

ReportSection Phones(const TZorvexSettings& settings)
{
    const PhonesFields f = PhonesFields::Load(settings);
    ReportSection s = Section("phones", PhonesFields::Caption);
    for (int k = 0; k < PhonesFields::Count; ++k)
        s.rows << Field(QStringLiteral("number%1").arg(k + 1), PhonesFields::NumberLabels[k],
                        Text(f.numbers[k]));
    s.rows << Field(QStringLiteral("locked"), PhonesFields::LockLabel,
                    Locks(f.locked, PhonesFields::NumberLabels));
    const int stations[2] = {f.station1, f.station2};
    for (int i = 0; i < 2; ++i)
        s.rows << Field(QStringLiteral("polpager%1").arg(i + 1), PhonesFields::StationLabels[i],
                        ItemText(PhonesFields::StationItems, stations[i]));
    return s;
}

ReportSection PhoneParams(const TZorvexSettings& settings)
{
    static const char* const keys[4] = {"extendedDialToneWait", "ignoreMissingDialTone",
                                        "toneDialling", "offHookDetectionBlocked"};
    static const char* const numberKeys[3] = {"notifications", "rings", "doubleCallTime"};
    const PhoneParamFields f = PhoneParamFields::Load(settings);
    ReportSection s = Section("phoneParams", PhoneParamFields::Caption);
    for (int i = 0; i < 4; ++i)
        s.rows << Field(Text(keys[i]), PhoneParamFields::OptionLabels[i],
                        Text(YesNoText(f.options[i])));
    for (int i = 0; i < 3; ++i)
        s.rows << Field(Text(numberKeys[i]), PhoneParamFields::NumberLabels[i], Text(f.numbers[i]),
                        PhoneParamFields::NumberNotes[i]);
    return s;
}

ReportSection Polpager(const TZorvexSettings& settings)
{
    const PolpagerFields f = PolpagerFields::Load(settings);
    ReportSection s = Section("polpager", PolpagerFields::Caption);
    s.rows << Field(QStringLiteral("station1"), PolpagerFields::Station1Label, Text(f.station1))
           << Field(QStringLiteral("station2"), PolpagerFields::Station2Label, Text(f.station2))
           << Field(QStringLiteral("message"), PolpagerFields::MessageLabel, Text(f.message));
    return s;
}

ReportSection Codes(const TZorvexSettings& settings, bool masked)
{
    const CodeFields f = CodeFields::Load(settings);
    ReportSection s = Section("codes", CodeFields::Caption);
    for (int i = 0; i < CodeFields::Count; ++i) {
        const QString key = i == CodeFields::Installer ? QStringLiteral("installer")
                                                       : QStringLiteral("ku%1").arg(i);
        s.rows << Field(key, CodeFields::Labels[i],
                        masked ? Text(ConstsZVX::ReportMaskedCode) : Text(f.codes[i]));
    }
    s.rows << Field(QStringLiteral("locked"), CodeFields::LockLabel,
                    Locks(f.locked, CodeFields::Labels))
           << Field(QStringLiteral("trc"), CodeFields::TrcLabel, ItemText(YesNoItems, f.trc));
    return s;
}

ReportSection AlarmInputs(const TZorvexSettings& settings)
{
    const AlarmInFields f = AlarmInFields::Load(settings);
    ReportSection s = Section("alarmInputs", AlarmInFields::Caption);
    for (int i = 0; i < 3; ++i) {
        const AlarmInFields::Line& line = f.lines[i];
        const QString prefix = QStringLiteral("a%1").arg(i + 1);
        s.rows << Group(AlarmInFields::LineCaptions[i])
               << Field(prefix + QStringLiteral("Function"), AlarmInFields::FunctionLabels[i],
                        ItemText(AlarmInFields::FunctionItems(i), line.function))
               << Field(prefix + QStringLiteral("Speed"), AlarmInFields::SpeedLabel,
                        Text(AlarmInFields::SpeedItems[line.fast ? 1 : 0]))
               << Field(prefix + QStringLiteral("Contact"), AlarmInFields::ContactLabel,
                        Text(AlarmInFields::ContactItems[line.normallyClosed ? 1 : 0]));
    }
    return s;
}

ReportSection PgmOutputs(const TZorvexSettings& settings)
{
    const AlarmOutFields f = AlarmOutFields::Load(settings);
    ReportSection s = Section("pgmOutputs", AlarmOutFields::Caption);
    for (int i = 0; i < 2; ++i) {
        const QString prefix = QStringLiteral("pgm%1").arg(i + 1);
        s.rows << Field(prefix + QStringLiteral("Trigger"), AlarmOutFields::TriggerLabels[i],
                        ItemText(AlarmOutFields::TriggerTexts, f.triggers[i]))
               << Field(prefix + QStringLiteral("Time"), AlarmOutFields::TimeLabels[i],
                        Text(f.times[i]));
    }
    return s;
}

ReportSection Delays(const TZorvexSettings& settings)
{
    static const char* const keys[3] = {"alarmEntry", "pauseBetweenAlarms", "armedEntry"};
    const DelayFields f = DelayFields::Load(settings);
    ReportSection s = Section("delays", DelayFields::Caption);
    for (int i = 0; i < 3; ++i)
        s.rows << Field(Text(keys[i]), DelayFields::Labels[i], Text(f.delays[i]),
                        DelayFields::Notes[i]);
    return s;
}

ReportSection SystemOptions(const TZorvexSettings& settings)
{
    static const char* const keys[8] = {"keypadLock",
                                        "lineDetectionBlocked",
                                        "clockReprogrammingLocked",
                                        "alarmMessageRecordingLocked",
                                        "installerReprogrammingLocked",
                                        "eightDiallingCycles",
                                        "messageFourTimes",
                                        "selfArming"};
    const SystemOptionsFields f = SystemOptionsFields::Load(settings);
    ReportSection s = Section("systemOptions", SystemOptionsFields::Caption);
    for (int i = 0; i < 8; ++i)
        s.rows << Field(Text(keys[i]), SystemOptionsFields::Labels[i],
                        Text(YesNoText(f.options[i])));
    return s;
}

ReportSection Stations(const TZorvexSettings& settings)
{
    static const char* const groups[2] = {"SMA1", "SMA2"};
    const StationFields f = StationFields::Load(settings);
    ReportSection s = Section("stations", StationFields::Caption);
    s.rows << Field(QStringLiteral("mode"), StationFields::ModeLabel,
                    ItemText(StationFields::Modes, f.mode));
    for (int i = 0; i < StationFields::Stations; ++i) {
        const QString prefix = QStringLiteral("sma%1").arg(i + 1);
        const auto& labels = StationFields::Labels[i];
        s.rows << Group(groups[i])
               << Field(prefix + QStringLiteral("Number"), labels[0], Text(f.numbers[i]))
               << Field(prefix + QStringLiteral("Code"), labels[1], Text(f.subscribers[i]))
               << Field(prefix + QStringLiteral("Format"), labels[2],
                        ItemText(StationFields::Formats, f.formats[i]));
    }
    return s;
}

ReportSection EventCodes(const TZorvexSettings& settings)
{
    static const char* const keys[EventCodeFields::Count] = {
        "inputA1",  "inputA2",  "inputA3",     "pauseEnd",       "overflowSma1", "overflowSma2",
        "lostSma1", "lostSma2", "localArming", "localDisarming", "remoteArming", "remoteDisarming",
        "test",     "restart",  "acLost",      "acRestored"};
    const EventCodeFields f = EventCodeFields::Load(settings);
    ReportSection s = Section("eventCodes", EventCodeFields::Caption);
    for (int i = 0; i < EventCodeFields::Count; ++i)
        s.rows << Field(Text(keys[i]), EventCodeFields::Labels[i], Text(f.codes[i]));
    s.rows << Field(QStringLiteral("testTime"), EventCodeFields::TimeLabel,
                    QString::asprintf("%02d:%02d", f.hour, f.minute));
    return s;
}

ReportSection History(const TZorvexSettings& settings)
{
    static const char* const keys[4] = {"alarmStart", "lineCut", "acLoss", "lastArming"};
    const HistoryFields f = HistoryFields::Load(settings);
    ReportSection s = Section("history", HistoryFields::Caption);
    for (int i = 0; i < 4; ++i)
        s.rows << Field(Text(keys[i]), HistoryFields::Labels[i], Text(f.times[i]));
    return s;
}

} // namespace

QString PlainLabel(const char* dialogLabel)
{
    const QString label = QString::fromUtf8(dialogLabel);
    QString plain;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == u'&' && i + 1 < label.size())
            ++i;
        plain += label[i];
    }
    plain = plain.trimmed();
    if (plain.endsWith(u':'))
        plain.chop(1);
    return plain.trimmed();
}

QList<ReportSection> AreaSections(const TZorvexSettings& settings, bool masked)
{
    return {Phones(settings),        PhoneParams(settings),   Polpager(settings),
            Codes(settings, masked), AlarmInputs(settings),   PgmOutputs(settings),
            Delays(settings),        SystemOptions(settings), Stations(settings),
            EventCodes(settings),    History(settings)};
}

ReportSection DescriptionSection(const TZorvexSettings& settings)
{
    const ConfigFields f = ConfigFields::Load(settings);
    ReportSection s = Section("description", ConfigFields::Caption);
    for (int i = 0; i < ConfigFields::Count; ++i) {
        QString key;
        const char* label = "";
        if (i < ConfigFields::AddressRecord) {
            key = QStringLiteral("objectName");
            label = ConfigFields::NameLabel;
        } else if (i < ConfigFields::DescriptionRecord) {
            key = QStringLiteral("address%1").arg(i - ConfigFields::AddressRecord + 1);
            if (i == ConfigFields::AddressRecord)
                label = ConfigFields::AddressLabel;
        } else {
            key = QStringLiteral("description%1").arg(i - ConfigFields::DescriptionRecord + 1);
            if (i == ConfigFields::DescriptionRecord)
                label = ConfigFields::DescriptionLabel;
        }
        s.rows << Field(key, label, Text(f.texts[i]));
    }
    return s;
}
