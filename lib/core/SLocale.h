#pragma once

#include <stdint.h>
#include "SString.h"

// Room for one name in a locale record: at most 15 characters and the terminator.
const int LocaleNameSize = 16;
// Number of locale records in the table: user settings, English, French.
const int LocaleRecordCount = 3;

// Number separators and the names of days, months and seasons of one locale.
struct SLocaleRecord
{
    int32_t id;
    // 0 in the user and English records, 1 in the French one.
    int32_t variant;
    int32_t digits;
    char decimalChar;
    // 0 means no thousands separator.
    char thousandsChar;
    // Sunday first.
    char dayNames[7][LocaleNameSize];
    // January first.
    char monthNames[12][LocaleNameSize];
    // Spring first.
    char seasonNames[4][LocaleNameSize];
};

// Fills the three records (record 0 from the user's settings) and makes record 0 current.
void InitLocale();
// The current record; fills the table first when InitLocale has not run yet.
const SLocaleRecord* GetLocaleRecord();
// Record index 0-2 of the table, null outside.
const SLocaleRecord* GetLocaleRecordAt(int index);
// Makes record index 0-2 current; false outside.
bool SelectLocaleRecord(int index);
// Decimal text of n with the current record's thousands separator.
SString IntToGroupedString(int n);
// Splits list at ',' and copies token i, cut to slotSize - 1 characters and
// terminated, to slots + i * slotSize for at most slotCount tokens; returns the count copied.
int SplitCommaList(char* slots, const char* list, int slotSize, int slotCount);
