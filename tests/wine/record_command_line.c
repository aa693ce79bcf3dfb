/* A Windows console program that writes how it was started to
 * command-line.txt beside itself, in UTF-8, one item a line: the raw command
 * line (GetCommandLineW), the working directory, the environment variable
 * ZAM_TEST (an empty line when unset), then each argument as
 * CommandLineToArgvW splits the command line. The file appears complete: it
 * is written under another name first and then renamed. */
// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <stdio.h>

static void writeLine(FILE* file, const wchar_t* text) {
    char buffer[32768];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    fprintf(file, "%s\n", length > 0 ? buffer : "");
}

int wmain(void) {
    wchar_t folder[MAX_PATH], partPath[MAX_PATH + 32], recordPath[MAX_PATH + 32];
    DWORD length = GetModuleFileNameW(NULL, folder, MAX_PATH);
    while (length > 0 && folder[length - 1] != L'\\')
        --length;
    folder[length] = L'\0';
    swprintf(partPath, MAX_PATH + 32, L"%lscommand-line.part", folder);
    swprintf(recordPath, MAX_PATH + 32, L"%lscommand-line.txt", folder);

    FILE* file = _wfopen(partPath, L"wb");
    if (!file)
        return 1;
    writeLine(file, GetCommandLineW());
    wchar_t directory[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, directory);
    writeLine(file, directory);
    wchar_t variable[1024];
    DWORD variableLength = GetEnvironmentVariableW(L"ZAM_TEST", variable, 1024);
    writeLine(file, variableLength > 0 && variableLength < 1024 ? variable : L"");
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i)
        writeLine(file, arguments[i]);
    LocalFree(arguments);
    fclose(file);
    return MoveFileExW(partPath, recordPath, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
