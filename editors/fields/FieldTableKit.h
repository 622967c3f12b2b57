#pragma once

#include "editors/fields/EditorField.h"
#include "editors/fields/YesNo.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"

#include <exception>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// What the areas' field tables are built with: the rules every field shares (length cut,
// empty text, check, all-or-nothing write of the owned bits) and the texts of lists and
// flags. Used by the *Fields.cpp files only.
namespace FieldTableKit {

// What the dialogs' key filters let through (EditorField::keys).
inline constexpr const char* DigitKeys = "0123456789";
// Telephone numbers and subscriber codes: digits and the dialer's B, C, D.
inline constexpr const char* DialKeys = "0123456789BCD";
inline constexpr const char* HexKeys = "0123456789ABCDEF";

// count whole bytes from first.
std::vector<OwnedBits> Bytes(int first, int count = 1);

// message with its first "%s" replaced by text.
std::string Format(const char* message, const std::string& text);

// The item text at index, "" outside the items (a list without a selection).
std::string ItemText(const std::vector<std::string>& items, int index);
// Index of text among items; -1 when it is none of them.
int ItemIndex(const std::vector<std::string>& items, const std::string& text);
// "'X' nie jest jedną z wartości: A, B, C".
std::string NotAnItem(const std::string& text, const std::vector<std::string>& items);

// The names of the set flags joined by ", ", or "brak".
std::string FlagsText(const std::vector<std::string>& names, const std::vector<bool>& flags);
// The flags a text names (as FlagsText writes it; "" and "brak" name none), or the
// message for a name that is none of them.
std::optional<std::string> ParseFlags(const std::string& text,
                                      const std::vector<std::string>& names,
                                      std::vector<bool>& flags);

// The check of the one-byte number fields: decimal digits worth 0..255, else
// "'%s' is not a valid integer value".
std::optional<std::string> CheckByte(const std::string& text);

// The rules before any area's own: cut to maxLength characters, an empty text becomes
// emptyText, then check. Nothing when the text passes; text is changed in place.
std::optional<std::string> Prepare(const EditorField& field, std::string& text);

// Copies the owned bits of the image from one configuration to another.
void CopyOwned(const TZorvexSettings& from, TZorvexSettings& to,
               const std::vector<OwnedBits>& owned);

// Gives a field of the area mapped by Fields (Load/Store) its read and write: read
// renders Fields::Load; write prepares the text, lets apply put it into a loaded mapping
// (or refuse it with a message), stores that mapping into a copy of the settings and
// takes over only the field's owned bits. Call after the field's other members are set.
template <class Fields, class Render, class Apply>
void Bind(EditorField& field, Render render, Apply apply)
{
    field.read = [render](const TZorvexSettings& s) {
        return std::string(render(Fields::Load(s)));
    };
    const EditorField rules = field;
    field.write = [rules, apply](TZorvexSettings& settings,
                                 const std::string& given) -> std::optional<std::string> {
        std::string text = given;
        if (auto error = Prepare(rules, text))
            return error;
        Fields fields = Fields::Load(settings);
        if (std::optional<std::string> error = apply(fields, text))
            return error;
        TZorvexSettings scratch = settings;
        try {
            if constexpr (std::is_same_v<decltype(fields.Store(scratch)), bool>) {
                if (!fields.Store(scratch))
                    return std::string(ConstsZVX::BadData);
            } else {
                fields.Store(scratch);
            }
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        CopyOwned(scratch, settings, rules.owned);
        if (rules.record >= 0) {
            TComment::Record record;
            scratch.Comment.GetRecord(rules.record, record);
            settings.Comment.SetRecord(rules.record, record);
        }
        return std::nullopt;
    };
}

// A field that is only shown: writing the text it shows is accepted and changes nothing
// (so a whole document can be applied back); any other text is refused.
void BindDisplay(EditorField& field, EditorField::Reader read);

} // namespace FieldTableKit

namespace FieldTableKit {

// A field with the members every field has; the rest is set by the caller.
EditorField MakeField(std::string key, const char* label, FieldKind kind,
                      std::vector<OwnedBits> owned);

// Binders for the common shapes of a mapping member. member is a callable that gives the
// member of a mapping, const or not: [](auto& m) -> auto& { return m.numbers[k]; }.

// A text member, shown and written as it is.
template <class Fields, class Member> void BindText(EditorField& field, Member member)
{
    Bind<Fields>(
        field, [member](const Fields& m) { return std::string(member(m)); },
        [member](Fields& m, const std::string& text) -> std::optional<std::string> {
            member(m) = text;
            return std::nullopt;
        });
}

// An item index member of a list or radio group: shown as the item's text; a list's
// no selection (-1) as "".
template <class Fields, class Member> void BindItem(EditorField& field, Member member)
{
    const std::vector<std::string> items = field.items;
    const bool list = field.kind == fkList;
    Bind<Fields>(
        field, [member, items](const Fields& m) { return ItemText(items, member(m)); },
        [member, items, list](Fields& m, const std::string& text) -> std::optional<std::string> {
            const int index = ItemIndex(items, text);
            if (index < 0 && !(list && text.empty()))
                return NotAnItem(text, items);
            member(m) = index;
            return std::nullopt;
        });
}

// A yes/no member (bool, or an item index 0/1): "NIE" or "TAK".
template <class Fields, class Member> void BindYesNo(EditorField& field, Member member)
{
    field.kind = fkYesNo;
    field.items = {YesNoItems[0], YesNoItems[1]};
    const std::vector<std::string> items = field.items;
    Bind<Fields>(
        field, [member, items](const Fields& m) { return items[member(m) ? 1 : 0]; },
        [member, items](Fields& m, const std::string& text) -> std::optional<std::string> {
            const int index = ItemIndex(items, text);
            if (index < 0)
                return NotAnItem(text, items);
            member(m) = index == 1;
            return std::nullopt;
        });
}

// An array of check boxes: the names of the ticked ones (field.items).
template <class Fields, class Member> void BindFlags(EditorField& field, Member member)
{
    field.kind = fkFlags;
    const std::vector<std::string> names = field.items;
    Bind<Fields>(
        field,
        [member, names](const Fields& m) {
            const auto& flags = member(m);
            return FlagsText(names, std::vector<bool>(std::begin(flags), std::end(flags)));
        },
        [member, names](Fields& m, const std::string& text) -> std::optional<std::string> {
            std::vector<bool> flags;
            if (auto error = ParseFlags(text, names, flags))
                return error;
            auto& target = member(m);
            for (std::size_t i = 0; i < flags.size() && i < std::size(target); ++i)
                target[i] = flags[i];
            return std::nullopt;
        });
}

} // namespace FieldTableKit
