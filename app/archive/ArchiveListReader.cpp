#include "app/archive/ArchiveListReader.h"

ArchiveListReader::ArchiveListReader(ArchiveDatabase& archive) : m_archive(&archive) {}

ArchiveListReader::ArchiveListReader(ArchiveDatabase::Kind kind, QString target)
    : m_own(std::make_unique<ArchiveDatabase>(kind, std::move(target))), m_archive(m_own.get())
{}

ArchiveListReader::~ArchiveListReader() = default;

void ArchiveListReader::Read(quint64 generation, const ArchiveQuery& page, bool count)
{
    if (!Current(generation))
        return;
    if (m_own && !m_own->IsOpen() && !m_own->Open()) {
        emit pageRead(generation, {}, m_own->Error());
        return;
    }
    const std::optional<QList<ArchiveEntry>> found = m_archive->Find(page, false);
    if (!found) {
        emit pageRead(generation, {}, m_archive->Error());
        return;
    }
    emit pageRead(generation, *found, {});
    // The count may take longer than the page on a large archive: the page is shown
    // first, and a count nobody waits for any more is not made.
    if (!count || found->size() < page.limit || !Current(generation))
        return;
    const std::optional<qint64> total = m_archive->Count(page);
    emit counted(generation, total.value_or(-1), total ? QString() : m_archive->Error());
}

void ArchiveListReader::Abort()
{
    if (m_own)
        m_own->Abort();
}

void ArchiveListReader::Close()
{
    if (m_own)
        m_own->Close();
}
