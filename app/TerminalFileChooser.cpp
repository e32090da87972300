#include "TerminalFileChooser.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

bool TerminalFileChooser::IsInteractive() { return ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO); }

std::vector<IDFile> TerminalFileChooser::ChooseFiles(const PMString& title)
{
    std::fprintf(stderr, "%s\nFile to use instead (empty to skip): ", title.GetUTF8String().c_str());
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line) || line.empty()) return {};
    return {IDFile(std::filesystem::path(line))};
}

bool TerminalFileChooser::AskYesNo(const PMString& question, bool defaultAnswer)
{
    std::fprintf(stderr, "%s [%s] ", question.GetUTF8String().c_str(), defaultAnswer ? "Y/n" : "y/N");
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line)) return defaultAnswer;
    if (line == "y" || line == "Y" || line == "yes") return true;
    if (line == "n" || line == "N" || line == "no") return false;
    return defaultAnswer;
}
