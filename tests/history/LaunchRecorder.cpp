// Stands in for the application a history row is opened with: writes its
// arguments and working directory to the file named by GYROLENS_LAUNCH_LOG
// ("cwd=<folder>" then one "arg=<argument>" line each), whole or not at all.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

int main(int argc, char** argv) {
    const char* log = getenv("GYROLENS_LAUNCH_LOG");
    if (!log)
        return 1;
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string text = std::string("cwd=") + cwd + "\n";
    for (int i = 1; i < argc; i++)
        text += std::string("arg=") + argv[i] + "\n";
    std::string scratch = std::string(log) + ".part";
    FILE* f = fopen(scratch.c_str(), "wb");
    if (!f)
        return 1;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    return MoveFileA(scratch.c_str(), log) ? 0 : 1;
}
