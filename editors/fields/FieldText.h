#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TZorvexSettings;

// Fields entered as text by a person or a script (zvx set, zvx apply, a copy between
// files): what the dialog's controls would let through, then write() as OK. Plain C++,
// any thread.

// Whether the field's edit takes character c at all (after upper case), range aside: a
// field with keys only those; one without (a description record) every character
// Windows-1250 holds except the control characters (C0, DEL, C1), so that what the edit
// shows is what the record stores.
bool TakesCharacter(const EditorField& field, char32_t c);

// What the dialog's controls make of a whole text, as if it were typed in: letters turned
// to upper case where the edit turns them; a character the field does not take
// (TakesCharacter; for a field without keys the message names it), more characters than
// the edit takes, or a number its filter would not let grow to (outside minimum..maximum)
// refuse the text with the message, which quotes a long text cut (MessageValue). An empty
// text always passes (the edit can be emptied; write() makes it emptyText). A list, radio
// group or yes/no field also takes the number of an item (0-based, as the format lists
// number theirs: "14", "0" for "NIE") when the text is none of the items, and it becomes
// that item's text. Nothing when the text passes; text is changed in place.
std::optional<std::string> TypedText(const EditorField& field, std::string& text);

// What the dialog's key filter makes of key, a character typed into the field's edit while
// the edit holds text: key itself, a..z turned into upper case where the edit turns
// letters, or 0 when the filter discards it: a character the field does not take
// (TakesCharacter; half of a surrogate pair included), or a digit that would take a
// number outside minimum..maximum, counted as appended at the end wherever the caret
// stands. Backspace always passes.
char16_t FilteredKey(const EditorField& field, const std::string& text, char16_t key);

// TypedText, then write(). All or nothing.
std::optional<std::string> WriteTyped(const EditorField& field, TZorvexSettings& settings,
                                      const std::string& text);

// The field's stored bits, as bytes: one per owned entry (the whole image byte, of which
// only the entry's bits belong to the field), or the 50 bytes of its description record.
std::vector<std::uint8_t> StoredBytes(const EditorField& field, const TZorvexSettings& settings);
// Puts such bytes back: only the field's bits change. False (nothing changed) when the
// count does not fit the field.
bool PutStoredBytes(const EditorField& field, TZorvexSettings& settings,
                    const std::vector<std::uint8_t>& bytes);

// Whether the text the field shows, typed in again, stores what the field holds: false
// for a stored value no control can enter (a test time that is not a time of day, a list
// byte outside the list, a number outside its spin range, a digit the key filter does not
// take, a history time). A text showing such a value needs its stored bytes beside it.
bool ShownTextKeeps(const EditorField& field, const TZorvexSettings& settings);

// Per image byte, the bits that no field owns: bytes no dialog edits, bits a dialog keeps
// as read or clears (the areas' unshown bits). Byte 0, the checksum, is not among them.
const std::array<std::uint8_t, 256>& FieldlessBits();
