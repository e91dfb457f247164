// The registry file reader on any bytes: no crash, no undefined behaviour; a file it accepts
// is written back byte for byte, and a value it sets reads back, also after a second parse.
#include "support/core/RegistryFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto file = RegistryFile::Parse(bytes, "HKEY_CURRENT_USER");
    if (!file)
        return 0;
    if (!bytes.empty() && file->Serialize() != bytes)
        std::abort();

    const RegistryValue value = RegistryValue::String("C:\\Data");
    file->SetValue("Software\\Kavo\\DeVad", "Fuzz", value);
    const auto reread = RegistryFile::Parse(file->Serialize(), "HKEY_CURRENT_USER");
    const RegistryValue* found = reread ? reread->FindValue("Software\\Kavo\\DeVad", "Fuzz") : nullptr;
    if (!found || !(*found == value))
        std::abort();
    return 0;
}
