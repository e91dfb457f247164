#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

class CatalogStore;

// The command-line tool: loads the catalog list of a folder as the program does, applies one
// command with the rules of the matching command of the main window and saves what it changed
// as the program's Save does. Texts on the streams are UTF-8.
class CliTool {
public:
    static constexpr int ExitDone = 0;
    static constexpr int ExitFailed = 1;
    static constexpr int ExitUsage = 2;

    // defaultFolder gives the folder (code page 932) when --folder is not given.
    CliTool(std::ostream& out, std::ostream& err, std::function<std::string()> defaultFolder);

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

    void List(CatalogStore& store, const Arguments& arguments);
    void Show(CatalogStore& store, const Arguments& arguments);
    void Text(CatalogStore& store, const Arguments& arguments);
    void New(CatalogStore& store, const Arguments& arguments);
    void Add(CatalogStore& store, const Arguments& arguments);
    void Remove(CatalogStore& store, const Arguments& arguments);
    void Rename(CatalogStore& store, const Arguments& arguments);
    void Delete(CatalogStore& store, const Arguments& arguments);
    void Files(CatalogStore& store, const Arguments& arguments);
    void Size(CatalogStore& store, const Arguments& arguments);

    std::ostream& out_;
    std::ostream& err_;
    std::function<std::string()> defaultFolder_;
    bool flagGiven_ = false;  // the command's own flag (Command::flag) was among its arguments
    // A command that printed what it could but not everything ends with ExitFailed.
    int exitCode_ = ExitDone;
};
