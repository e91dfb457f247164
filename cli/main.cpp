#include "cli/CliTool.h"
#include "support/core/ProgramFolder.h"

#include <iostream>

int main(int argc, char** argv)
{
    CliTool tool(std::cout, std::cerr, &GetProgramFolder);
    return tool.Run(std::vector<std::string>(argv + 1, argv + argc));
}
