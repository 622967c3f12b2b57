#include "editors/fields/EditorField.h"

#include <stdexcept>

const EditorField* EditorArea::Find(std::string_view fieldKey) const
{
    for (const EditorField& field : fields)
        if (field.key == fieldKey)
            return &field;
    return nullptr;
}

const EditorField& EditorArea::operator[](std::string_view fieldKey) const
{
    if (const EditorField* field = Find(fieldKey))
        return *field;
    throw std::logic_error("no field " + std::string(fieldKey) + " in " + key);
}

std::array<std::uint8_t, 256> EditorArea::OwnedMask() const
{
    std::array<std::uint8_t, 256> mask{};
    for (const EditorField& field : fields)
        for (const OwnedBits& bits : field.owned)
            mask[bits.offset] |= bits.mask;
    for (const OwnedBits& bits : unshown)
        mask[bits.offset] |= bits.mask;
    return mask;
}

std::string PlainLabelText(std::string_view dialogLabel)
{
    std::string plain;
    for (std::size_t i = 0; i < dialogLabel.size(); ++i) {
        if (dialogLabel[i] == '&' && i + 1 < dialogLabel.size())
            ++i;
        plain += dialogLabel[i];
    }
    const auto trim = [](std::string& s) {
        const char* blanks = " \t\r\n\v\f";
        const auto first = s.find_first_not_of(blanks);
        s = first == std::string::npos ? std::string()
                                       : s.substr(first, s.find_last_not_of(blanks) - first + 1);
    };
    trim(plain);
    if (!plain.empty() && plain.back() == ':')
        plain.pop_back();
    trim(plain);
    return plain;
}
