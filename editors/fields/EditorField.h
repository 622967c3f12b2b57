#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TZorvexSettings;

// Bits of one image byte (offset 0..255).
struct OwnedBits
{
    int offset;
    std::uint8_t mask = 0xFF;
};

// How a field is shown and edited in its dialog.
enum FieldKind
{
    fkText,   // an edit (or the message memo): any text up to maxLength characters
    fkNumber, // a decimal edit with a spin control over minimum..maximum
    fkYesNo,  // a two-item radio group: items "NIE", "TAK"
    fkList,   // a drop-down list: one of items, or "" for no selection
    fkRadio,  // a radio group: one of items
    fkTime,   // a time of day "HH:MM"
    fkFlags,  // a column of check boxes: the names (items) of the ticked ones joined by
              // ", ", or "brak" when none is
    fkDisplay // shown, not edited (the Polpager station lines, the event history)
};

// One field of an editor dialog, as everything that shows or changes it sees it: the
// dialog binds its control to it, the report and the JSON print read(), the differences
// compare read() and fall back to the owned bits, and "zvx set" calls write().
// Texts are UTF-8.
struct EditorField
{
    using Reader = std::function<std::string(const TZorvexSettings&)>;
    // Nothing when the text is written; otherwise the message the dialog would show.
    using Writer =
        std::function<std::optional<std::string>(TZorvexSettings&, const std::string& text)>;
    using Checker = std::function<std::optional<std::string>(const std::string& text)>;

    std::string key;   // unique within its area; the field's key in the JSON
    std::string label; // the dialog's label, "&" marking the accelerator; empty for a
                       // further line of a block labelled once
    FieldKind kind = fkText;
    std::vector<std::string> items; // fkYesNo, fkList, fkRadio: item texts in item order;
                                    // fkFlags: the name of each flag in bit order
    int minimum = 0;                // fkNumber: the spin control's range
    int maximum = 0;
    std::string note;  // shown beside the field ("(0..255 s)"); may be empty
    std::string group; // the box or heading the field stands in ("A1:", "SMA2")
    int maxLength = 0; // characters the edit takes; 0 = no limit of its own
    // The characters the dialog's key filter lets the user type into the edit (ASCII,
    // after upperCase); empty when it takes any. The dialogs' key filters (FilteredKey)
    // and a text given to "zvx set" (TypedText) both read it, and both check a number's
    // range as the filter does (AppendedDigitFits); see FieldText.h.
    std::string keys;
    bool upperCase = false; // the edit turns typed letters a..z into upper case
    std::string emptyText;  // what an emptied field is written as (the edit shows it too)
    bool secret = false;    // an access code: the customer's copy shows "****"
    int record = -1;        // description record 0..13 the field is, -1 for image fields
    // The image bits a successful write may change; every other bit stays as it was.
    std::vector<OwnedBits> owned;

    // The text the dialog shows for the configuration.
    Reader read;
    // The check the dialog makes when OK is pressed, on the text alone (after an empty
    // text became emptyText); null when the dialog takes any text.
    Checker check;
    // Writes a text as OK in the dialog would: a text longer than maxLength is cut as the
    // edit cuts a pasted one, an empty one becomes emptyText, then check, then the rules
    // of the area's Store (including checks against other fields, such as repeated access
    // codes). All or nothing: on a refused text the settings are untouched.
    Writer write;
};

// The fields of one dialog, in the dialog's order.
struct EditorArea
{
    std::string key;     // "phones", "codes", ...; the area's key in the JSON
    std::string caption; // the dialog's window caption
    std::vector<EditorField> fields;
    // Image bits the dialog writes that no field shows: kept as read (bits 4..7 of byte
    // 46) or cleared (bits 6, 7 of the alarm input bytes). They belong to the area.
    std::vector<OwnedBits> unshown;

    // nullptr when there is no field of that key.
    const EditorField* Find(std::string_view fieldKey) const;
    // The field of that key; the key must exist (a dialog binding its controls).
    const EditorField& operator[](std::string_view fieldKey) const;
    // Per image byte, the bits the area owns: its fields' and the unshown ones.
    std::array<std::uint8_t, 256> OwnedMask() const;
};

// A dialog's label as a report or a list of names prints it: the accelerator "&"
// removed ("&&" stands for a literal "&"), blanks and one closing colon trimmed off.
std::string PlainLabelText(std::string_view dialogLabel);
