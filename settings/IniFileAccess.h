#pragma once

#include <QByteArray>
#include <QString>

// How the program touches its settings file: only a regular file (or a link to one) of
// at most MaxBytes is read or replaced. A FIFO would block the reader for ever, a link to
// /dev/zero would never end, a device would be opened (and a serial line's DTR raised)
// just to be read; a save must not put a regular file where one of those was.
//
// Any thread; no state of its own.
namespace IniFileAccess {

inline constexpr qint64 MaxBytes = 1024 * 1024;

enum class State
{
    Regular,    // a regular file of at most MaxBytes: read
    Missing,    // no such file (also a dangling link): reads as empty, may be created
    NotRegular, // a FIFO, socket, device or folder, or a link to one
    TooLarge,   // more than MaxBytes
    Unreadable  // there, but stat/open/read failed (error holds errno)
};

struct Contents
{
    State state = State::Missing;
    QByteArray data; // the whole file when state is Regular, else empty
    int error = 0;   // errno for Unreadable
};

// Reads fileName within the limits above, following links. Never blocks on a FIFO or a
// device: those are refused before they are opened. A save reads the file first and goes
// ahead only on Regular and Missing.
Contents Read(const QString& fileName);

// The user's words for a state that refuses the file: the reason followed by
// consequence (ConstsZVX::SettingsDefaultsUsed or SettingsNotChanged); empty for Regular
// and Missing.
QString Describe(State state, const QString& fileName, int error, const char* consequence);

} // namespace IniFileAccess
