#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder for one test, removed afterwards, with byte-exact file helpers. Names are
// host names (UTF-8) relative to the folder; contents are raw bytes.
class TempFolder {
public:
    // The folder's host path, without a trailing delimiter. Temporary folders have ASCII
    // paths, so this is also the program's (code page 932) form.
    std::string Path() const { return dir_.path().toStdString(); }
    std::string Path(const std::string& name) const { return Path() + "/" + name; }

    void Write(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path path = Path(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // The file's bytes; "<missing>" when there is no such file.
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        if (!in)
            return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    // The names in the folder, for checking that no temporary file was left behind.
    std::size_t EntryCount() const
    {
        const auto entries = std::filesystem::directory_iterator(Path());
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }

private:
    QTemporaryDir dir_;
};
