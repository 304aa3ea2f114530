#include "PCommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace
{
// Splits a command line into its arguments and frees the system's array on every path.
class ArgumentList
{
public:
    explicit ArgumentList(const wchar_t* commandLine)
    {
        if (commandLine == nullptr)
            return;
        // A quoted folder ends in a backslash: doubling a backslash before a quote keeps
        // it, and the quote still closes the argument.
        std::wstring text;
        for (const wchar_t* at = commandLine; *at != 0; at++)
        {
            text += *at;
            if (*at == L'\\' && at[1] == L'"')
                text += L'\\';
        }
        arguments = CommandLineToArgvW(text.c_str(), &count);
        if (arguments == nullptr)
            count = 0;
    }
    ~ArgumentList()
    {
        if (arguments != nullptr)
            LocalFree(arguments);
    }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;

    // Arguments after the program name.
    int GetCount() const { return count > 1 ? count - 1 : 0; }
    // Argument index after the program name, in the system code page.
    SString Get(int index) const
    {
        if (index < 0 || index >= GetCount())
            return SString("");
        const wchar_t* wide = arguments[index + 1];
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return SString("");
        std::string text((size_t)bytes, '\0');
        WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], bytes, nullptr, nullptr);
        return SString(text.c_str());
    }

private:
    wchar_t** arguments = nullptr;
    int count = 0;
};
}

int PCommandLine::GetCommandArgCount(const wchar_t* commandLine)
{
    ArgumentList list(commandLine);
    return list.GetCount();
}

SString PCommandLine::GetCommandArg(const wchar_t* commandLine, int index, bool stripQuotes)
{
    ArgumentList list(commandLine);
    SString argument = list.Get(index);
    if (stripQuotes)
        argument.Replace("\"", "");
    return argument;
}

int PCommandLine::GetCommandArgCount()
{
    return GetCommandArgCount(GetCommandLineW());
}

SString PCommandLine::GetCommandArg(int index, bool stripQuotes)
{
    return GetCommandArg(GetCommandLineW(), index, stripQuotes);
}

bool ParseChecksum(const char* text, uint32_t* value)
{
    if (text == nullptr)
        return false;
    uint64_t number = 0;
    int digits = 0;
    for (const char* at = text; *at != 0; at++)
    {
        if (*at < '0' || *at > '9' || ++digits > 10)
            return false;
        number = number * 10 + (uint64_t)(*at - '0');
    }
    if (digits == 0 || number > 0xFFFFFFFFull)
        return false;
    if (value != nullptr)
        *value = (uint32_t)number;
    return true;
}
