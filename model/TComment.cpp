#include "model/TComment.h"

#include "model/ERangeError.h"

#include <algorithm>

void TComment::Clear()
{
    for (auto& r : m_records)
        r.fill(0);
}

void TComment::CheckIndex(int index) const
{
    if (index > Count - 1 || index < 0)
        throw ERangeError::Index(index, 0, Count - 1);
}

void TComment::GetRecord(int index, Record& record) const
{
    CheckIndex(index);
    record = m_records[index];
}

void TComment::SetRecord(int index, const Record& record)
{
    CheckIndex(index);
    m_records[index] = record;
}

void TComment::SetText(int index, const std::string& text)
{
    CheckIndex(index);
    const std::size_t n = std::min<std::size_t>(text.size(), RecordSize);
    std::copy_n(text.begin(), n, m_records[index].begin());
    if (text.size() < RecordSize)
        m_records[index][text.size()] = 0;
}

std::string TComment::GetText(int index) const
{
    CheckIndex(index);
    const Record& r = m_records[index];
    const auto end = std::find(r.begin(), r.end(), 0);
    return std::string(r.begin(), end);
}
