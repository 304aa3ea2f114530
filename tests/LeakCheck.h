#pragma once
// The unit tests' leak check: an action done again and again keeps no GDI or USER object.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GuiObjects.h"

// What changed between two readings of this process's counts ("gdi +2 fonts +1
// brushes +1"); empty when nothing did.
inline std::string GuiObjectsChange(const GuiObjects& before, const GuiObjects& after)
{
    const struct
    {
        const char* name;
        long GuiObjects::*field;
    } counts[] = {{"gdi", &GuiObjects::gdi},         {"user", &GuiObjects::user},
                  {"windows", &GuiObjects::windows}, {"dcs", &GuiObjects::dcs},
                  {"regions", &GuiObjects::regions}, {"bitmaps", &GuiObjects::bitmaps},
                  {"fonts", &GuiObjects::fonts},     {"brushes", &GuiObjects::brushes},
                  {"pens", &GuiObjects::pens},       {"others", &GuiObjects::others}};
    std::string change;
    for (const auto& count : counts)
    {
        const long difference = after.*count.field - before.*count.field;
        if (difference)
            change += std::string(change.empty() ? "" : " ") + count.name + (difference > 0 ? " +" : " ") +
                      std::to_string(difference);
    }
    return change;
}

// Does the action once (a first use may make what stays: a class's brush, a font of
// the mapper), then rounds times more; passes when the counts are where the first
// time left them.
inline ::testing::AssertionResult KeepsNoObject(const std::function<void()>& action, int rounds = 4)
{
    action();
    const GuiObjects before = CountGuiObjects(GetCurrentProcessId());
    if (before.gdi < 0 || before.user < 0)
        return ::testing::AssertionFailure() << "the counts cannot be read";
    for (int i = 0; i < rounds; i++)
        action();
    const GuiObjects after = CountGuiObjects(GetCurrentProcessId());
    const std::string change = GuiObjectsChange(before, after);
    if (change.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << rounds << " more times left " << change;
}
