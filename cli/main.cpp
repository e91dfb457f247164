#include "catalog/CatalogStore.h"
#include "cli/CliTool.h"

#include <iostream>

int main(int argc, char** argv)
{
    TCliTool tool(std::cout, std::cerr, &GetProgramFolder);
    return tool.Run(std::vector<std::string>(argv + 1, argv + argc));
}
