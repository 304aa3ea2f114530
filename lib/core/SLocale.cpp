#include "SLocale.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>
#include "SRegistry.h"
#include "SStringParser.h"

namespace
{
SLocaleRecord records[LocaleRecordCount];
int currentRecord = 0;
bool filled = false;

const char* const EnglishDays = "Sunday,Monday,Tuesday,Wednesday,Thursday,Friday,Saturday";
const char* const EnglishMonths =
    "January,February,March,April,May,June,July,August,September,October,November,December";
const char* const EnglishSeasons = "Spring,Summer,Autumn,Winter";
const char* const FrenchDays = "Dimanche,Lundi,Mardi,Mercredi,Jeudi,Vendredi,Samedi";
// Windows-1252 text: \xE9 is e acute, \xFB is u circumflex.
const char* const FrenchMonths = "Janvier,F\xE9vrier,Mars,Avril,Mai,Juin,Juillet,Ao\xFBt,Septembre,"
                                 "Octobre,Novembre,D\xE9" "cembre";
const char* const FrenchSeasons = "Printemps,Et\xE9,Automne,Hiver";

void FillNames(SLocaleRecord& record, const char* days, const char* months, const char* seasons)
{
    SplitCommaList(&record.dayNames[0][0], days, LocaleNameSize, 7);
    SplitCommaList(&record.monthNames[0][0], months, LocaleNameSize, 12);
    SplitCommaList(&record.seasonNames[0][0], seasons, LocaleNameSize, 4);
}
}

void InitLocale()
{
    currentRecord = 0;
    memset(records, 0, sizeof(records));

    const char* key = "Control Panel\\International";
    SString decimal = SRegistry::ReadString(HKEY_CURRENT_USER, key, "sDecimal");
    SString thousand = SRegistry::ReadString(HKEY_CURRENT_USER, key, "sThousand");
    SString digits = SRegistry::ReadString(HKEY_CURRENT_USER, key, "iDigits");

    SLocaleRecord& user = records[0];
    user.id = 0;
    user.variant = 0;
    user.digits = atoi(digits);
    user.decimalChar = decimal.IsEmpty() ? '.' : decimal.GetAt(0);
    user.thousandsChar = thousand.IsEmpty() ? ',' : thousand.GetAt(0);
    FillNames(user, EnglishDays, EnglishMonths, EnglishSeasons);

    struct Fixed
    {
        int variant;
        char decimalChar;
        char thousandsChar;
        const char* days;
        const char* months;
        const char* seasons;
    };
    // Records 1 (English) and 2 (French) do not depend on the user's settings.
    const Fixed fixed[] = {
        { 0, '.', ',', EnglishDays, EnglishMonths, EnglishSeasons },
        { 1, ',', ' ', FrenchDays, FrenchMonths, FrenchSeasons },
    };
    for (int i = 0; i < 2; ++i)
    {
        SLocaleRecord& record = records[i + 1];
        record.id = i + 1;
        record.variant = fixed[i].variant;
        record.digits = 2;
        record.decimalChar = fixed[i].decimalChar;
        record.thousandsChar = fixed[i].thousandsChar;
        FillNames(record, fixed[i].days, fixed[i].months, fixed[i].seasons);
    }

    filled = true;
}

const SLocaleRecord* GetLocaleRecord()
{
    if (!filled)
        InitLocale();
    return &records[currentRecord];
}

const SLocaleRecord* GetLocaleRecordAt(int index)
{
    if (index < 0 || index >= LocaleRecordCount)
        return nullptr;
    if (!filled)
        InitLocale();
    return &records[index];
}

bool SelectLocaleRecord(int index)
{
    if (index < 0 || index >= LocaleRecordCount)
        return false;
    if (!filled)
        InitLocale();
    currentRecord = index;
    return true;
}

SString& SString::FromInteger(int n)
{
    FormatInt(n);
    char separator = GetLocaleRecord()->thousandsChar;
    if (separator == 0)
        return *this;
    // Never put a separator between the sign and the first digit.
    int firstDigit = GetAt(0) == '-' ? 1 : 0;
    for (int position = GetLength() - 3; position > firstDigit; position -= 3)
        InsertChar(separator, position, 1);
    return *this;
}

SString IntToGroupedString(int n)
{
    SString text;
    text.FromInteger(n);
    return text;
}

int SplitCommaList(char* slots, const char* list, int slotSize, int slotCount)
{
    if (!slots || !list || slotSize < 1 || slotCount < 1)
        return 0;
    SStringParser parser(list);
    int found = parser.Parse(",", 0, '"');
    int copied = found < slotCount ? found : slotCount;
    for (int i = 0; i < copied; ++i)
    {
        const SString* token = parser.GetTokenPtr(i);
        int length = token ? token->GetLength() : 0;
        if (length > slotSize - 1)
            length = slotSize - 1;
        char* slot = slots + static_cast<size_t>(i) * slotSize;
        if (length > 0)
            memcpy(slot, token->GetBuffer(), static_cast<size_t>(length));
        slot[length] = 0;
    }
    return copied < 0 ? 0 : copied;
}
