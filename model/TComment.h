#pragma once

#include <array>
#include <cstdint>
#include <string>

// The fourteen 50-byte description records that exist only on the PC. Records hold
// single-byte Windows-1250 text up to the first zero byte; the bytes after it carry no
// meaning but are kept and saved as they are.
class TComment
{
public:
    static constexpr int Count = 14;
    static constexpr int RecordSize = 50;
    using Record = std::array<std::uint8_t, RecordSize>;

    TComment() { Clear(); }

    void Clear();
    // Index 0..13, else ERangeError "Index %d poza prawidłowym zakresem: 0..13".
    void GetRecord(int index, Record& record) const;
    void SetRecord(int index, const Record& record);
    // Copies at most 50 bytes of the (cp1250) text and a zero byte after a shorter
    // text; the rest of the record keeps its old contents.
    void SetText(int index, const std::string& text);
    // The record's text up to its first zero byte, at most 50 bytes (cp1250).
    std::string GetText(int index) const;

    bool operator==(const TComment&) const = default;

private:
    void CheckIndex(int index) const;

    std::array<Record, Count> m_records;
};
