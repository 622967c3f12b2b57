#include "device/ConfigFileFormat.h"

#include "model/ImageChecksum.h"

#include <algorithm>
#include <cstring>

namespace ConfigFile {
namespace {
constexpr char kMagic[] = "Zorvex";
constexpr int kMagicSize = sizeof kMagic - 1;
} // namespace

Bytes Build(const TZorvexSettings& settings)
{
    Bytes file{};
    std::memcpy(file.data(), kMagic, kMagicSize);
    for (int i = 0; i < TCfg::Size; ++i)
        file[ImageOffset + i] = settings.Cfg.GetByte(i);
    file[ImageOffset] = ZeroSumByte(&file[ImageOffset + 1], TCfg::Size - 1);
    for (int r = 0; r < TComment::Count; ++r) {
        TComment::Record record;
        settings.Comment.GetRecord(r, record);
        std::copy(record.begin(), record.end(),
                  file.begin() + RecordsOffset + r * TComment::RecordSize);
    }
    file[ChecksumOffset] = ZeroSumByte(file.data(), Size - 1);
    return file;
}

Result Check(const Bytes& bytes)
{
    if (std::memcmp(bytes.data(), kMagic, kMagicSize) != 0)
        return FileFormatError;
    if (Sum8(&bytes[ImageOffset], TCfg::Size) != 0)
        return FileFormatError;
    if (Sum8(bytes.data(), Size) != 0)
        return FileFormatError;
    return Success;
}

std::string Record0Text(const Bytes& bytes)
{
    const auto begin = bytes.begin() + RecordsOffset;
    const auto end = std::find(begin, begin + TComment::RecordSize, 0);
    return std::string(begin, end);
}

void Apply(const Bytes& bytes, TZorvexSettings& settings)
{
    for (int i = 0; i < TCfg::Size; ++i)
        settings.Cfg.SetByte(i, bytes[ImageOffset + i]);
    for (int r = 0; r < TComment::Count; ++r) {
        TComment::Record record;
        const auto begin = bytes.begin() + RecordsOffset + r * TComment::RecordSize;
        std::copy(begin, begin + TComment::RecordSize, record.begin());
        settings.Comment.SetRecord(r, record);
    }
}

} // namespace ConfigFile
