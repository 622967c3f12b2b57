// Any bytes as a configuration file. The loader answers with a status code, asks for
// confirmation only for a valid file, and changes the configuration only when a valid
// file is confirmed, and then to exactly what the file holds.

#include "device/ConfigFileIO.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/MemoryFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Written from the file layout, apart from the loader: magic, image sum, file sum.
bool ValidFile(const std::uint8_t* data, std::size_t size)
{
    if (size < 1024 || std::memcmp(data, "Zorvex", 6) != 0)
        return false;
    unsigned image = 0;
    for (int i = 32; i < 288; ++i)
        image += data[i];
    unsigned file = 0;
    for (int i = 0; i < 1024; ++i)
        file += data[i];
    return image % 256 == 0 && file % 256 == 0;
}

TZorvexSettings Before()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, "Sklep przy rynku");
    settings.Cfg.SetByte(100, 0x5A);
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MemoryFile file;
    static const TZorvexSettings before = Before();
    file.Set(data, size);

    const bool valid = ValidFile(data, size);
    const ConfigFile::Result expected = size < 1024 ? ConfigFile::FileSizeError
                                        : valid     ? ConfigFile::Success
                                                    : ConfigFile::FileFormatError;

    // Declined: nothing changes, and the question carries record 0 up to its zero byte.
    TZorvexSettings settings = before;
    int asked = 0;
    std::string question;
    ConfigFile::Result status =
        ConfigFile::Load(settings, file.Path(), [&](const std::string& text) {
            ++asked;
            question = text;
            return false;
        });
    FUZZ_CHECK(status == expected);
    FUZZ_CHECK(asked == (valid ? 1 : 0));
    FUZZ_CHECK(settings == before);
    if (valid) {
        const std::uint8_t* record0 = data + 300;
        const std::size_t length = std::find(record0, record0 + 50, 0) - record0;
        FUZZ_CHECK(question == std::string(record0, record0 + length));
    }

    // Confirmed: a valid file replaces image and records byte for byte; anything else
    // leaves the configuration alone.
    status = ConfigFile::Load(settings, file.Path(), [](const std::string&) { return true; });
    FUZZ_CHECK(status == expected);
    if (!valid) {
        FUZZ_CHECK(settings == before);
        return 0;
    }
    FUZZ_CHECK(std::equal(settings.Cfg.Bytes().begin(), settings.Cfg.Bytes().end(), data + 32));
    for (int r = 0; r < TComment::Count; ++r) {
        TComment::Record record;
        settings.Comment.GetRecord(r, record);
        FUZZ_CHECK(std::equal(record.begin(), record.end(), data + 300 + 50 * r));
    }

    // What was loaded saves back as a valid file with the same image and records; the
    // bytes the format keeps at zero (and so the file checksum) may differ.
    const ConfigFile::Bytes rebuilt = ConfigFile::Build(settings);
    FUZZ_CHECK(ConfigFile::Check(rebuilt).Ok());
    FUZZ_CHECK(std::equal(rebuilt.begin() + 32, rebuilt.begin() + 288, data + 32));
    FUZZ_CHECK(std::equal(rebuilt.begin() + 300, rebuilt.begin() + 1000, data + 300));
    return 0;
}
