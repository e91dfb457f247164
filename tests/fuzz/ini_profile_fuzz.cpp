// The INI reader and the control file's section edit on any bytes: no crash, no undefined
// behaviour; a rewritten Compress section reads back exactly and every other section keeps
// its values.
#include "catalog/IniProfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniProfile profile(bytes);
    profile.ReadString("Common", "Title");
    profile.SectionHasKeys("Common");
    const auto extract = profile.ReadSection("Extract");

    const std::vector<std::pair<std::string, std::string>> keys{{"0", "b.VrCat"}, {"1", "a.VrCat"}};
    const std::string rewritten = profile.WithSection("Compress", {"0=b.VrCat", "1=a.VrCat"});
    const IniProfile reread(rewritten);
    if (reread.ReadSection("Compress") != keys || reread.ReadSection("Extract") != extract)
        std::abort();

    const std::string erased = profile.WithSection("Compress", {});
    if (!IniProfile(erased).ReadSection("Compress").empty() && profile.ReadSection("Compress").empty())
        std::abort();
    return 0;
}
