#pragma once

#include <set>
#include <string>

// Faults the emulated dialer can be told to make, to exercise the PC's error paths.
// Frame numbers count every frame the dialer has taken off the line since it started,
// from 1, whatever its kind and whether its checksum was right; skipped noise does not
// count. A retransmission is a new frame with the next number.
struct DialerFaults
{
    bool silent = false;        // "silent": never answers anything, and acts on nothing
    std::set<int> silentFrames; // "silent-frame=N": frame N is lost: no answer, no effect
    std::set<int> nakFrames;    // "nak-frame=N": frame N is answered 0x34 and not acted on
    int hangUpFrame = 0;        // "hangup-frame=N": at frame N the line is closed (0: never)
    bool badBlock = false;      // "bad-block": every data block carries a wrong checksum
    bool badImage = false;      // "bad-image": image byte 0 is served wrong, so the image
                                // read out does not add up to 0; the stored image stays
    int cutAfter = -1;          // "cut=K": only the first K bytes of every reply (-1: all)
    int chunkSize = 0;          // "chunks=N": replies go out N bytes at a time (0: whole)
    std::set<int> lateFrames;   // "late-frame=N": frame N is answered lateMs after it came,
                                // past the PC's reply time-out; frames that come meanwhile
                                // wait, and are answered after it
    int lateMs = 3300;          // "late-ms=T": how late, in ms
    // A line that is no dialer: the dialer hears nothing, and the PC receives a byte every
    // byte time (1339 bit/s) whether asked or not.
    bool zeros = false; // "zeros": the line held in BREAK; every byte is 00
    bool noise = false; // "noise": random bytes, never 34, so that the PC cannot take the
                        // noise for a refusal and always sees it for the line fault it is

    bool operator==(const DialerFaults&) const = default;
};

// Adds one fault written as above ("silent-frame=3", "cut=10", "bad-block"). Numbers are
// decimal: frames from 1, cut from 0, chunks from 1, each at most 1000000. Returns false
// and leaves faults unchanged for anything else.
bool AddFault(DialerFaults& faults, const std::string& text);

// The fault names and forms, one per line, for help texts.
const char* FaultUsage();
