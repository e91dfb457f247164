#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

class TCatalogStore;

// The command-line tool: loads the catalog list of a folder as the program does, applies one
// command with the rules of the matching command of the main window and saves the list
// wholesale as the program's Save does. Texts on the streams are UTF-8.
class TCliTool {
public:
    static constexpr int ExitDone = 0;
    static constexpr int ExitFailed = 1;
    static constexpr int ExitUsage = 2;

    // defaultFolder gives the folder (code page 932) when --folder is not given.
    TCliTool(std::ostream& out, std::ostream& err, std::function<std::string()> defaultFolder);

    // arguments: everything after the program name. Returns the exit code.
    int Run(const std::vector<std::string>& arguments);

    // The text of --help.
    static std::string UsageText();

private:
    using Arguments = std::vector<std::string>;
    struct Command;
    static const std::vector<Command>& Commands();

    int UsageError(const std::string& problem);
    std::string Folder(const std::string& folderArgument) const;

    void List(TCatalogStore& store, const Arguments& arguments);
    void Show(TCatalogStore& store, const Arguments& arguments);
    void Text(TCatalogStore& store, const Arguments& arguments);
    void New(TCatalogStore& store, const Arguments& arguments);
    void Add(TCatalogStore& store, const Arguments& arguments);
    void Remove(TCatalogStore& store, const Arguments& arguments);
    void Rename(TCatalogStore& store, const Arguments& arguments);
    void Delete(TCatalogStore& store, const Arguments& arguments);

    std::ostream& out_;
    std::ostream& err_;
    std::function<std::string()> defaultFolder_;
};
